#include "window/qt/FormLayout.h"

#include "window/qt/TextView.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace quillmark {
namespace {

const QString GothicFamily = QStringLiteral("ＭＳ ゴシック");
const QString PGothicFamily = QStringLiteral("ＭＳ Ｐゴシック");

template <typename W>
W* Place(QWidget* client, const char* name, int left, int top, int width, int height, const QFont& font)
{
    auto* widget = new W(client);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
    widget->setFont(font);
    return widget;
}

QPushButton* Button(QWidget* client, const char* name, const char* caption, const char* tip, int left, int top,
                    int width, int height, const QFont& font)
{
    auto* button = Place<QPushButton>(client, name, left, top, width, height, font);
    button->setText(QString::fromUtf8(caption));
    button->setToolTip(QString::fromUtf8(tip));
    return button;
}

void Blacken(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
}

QLabel* Label(QWidget* client, const char* name, const char* caption, int left, int top, int width, int height,
              const QFont& font)
{
    auto* label = Place<QLabel>(client, name, left, top, width, height, font);
    label->setText(QString::fromUtf8(caption));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Blacken(label);
    return label;
}

QCheckBox* CheckBox(QWidget* client, const char* name, const char* caption, int left, int top, int width, int height,
                    const QFont& font)
{
    auto* box = Place<QCheckBox>(client, name, left, top, width, height, font);
    box->setText(QString::fromUtf8(caption));
    Blacken(box);
    return box;
}

ListBox* List(QWidget* client, const char* name, const char* tip, int left, int top, int width, int height,
              const QFont& font)
{
    auto* list = Place<ListBox>(client, name, left, top, width, height, font);
    list->setToolTip(QString::fromUtf8(tip));
    return list;
}

QPlainTextEdit* TextBox(QWidget* client, const char* name, const QFont& font)
{
    auto* view = Place<QPlainTextEdit>(client, name, 120, 480, 7815, 7215, font);
    view->setTabChangesFocus(true);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetRightMargin(view, WideRightMargin);
    return view;
}

} // namespace

QFont GothicFont()
{
    QFont font(GothicFamily, 9);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QFont PGothicFont()
{
    QFont font(PGothicFamily, 9);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void InstallFontSubstitutions()
{
    const std::array<std::pair<QString, QString>, 2> substitutions{{
        {GothicFamily, QStringLiteral("IPAGothic")},
        {PGothicFamily, QStringLiteral("IPAPGothic")},
    }};
    for (const auto& [family, installed] : substitutions) {
        if (!QFont::substitutes(family).contains(installed))
            QFont::insertSubstitution(family, installed);
    }
}

FormWidgets BuildFormWidgets(QWidget* client)
{
    const QFont gothic = GothicFont();
    const QFont pgothic = PGothicFont();
    FormWidgets c;
    c.cmd1 = Button(client, "cmd1", "変換", "テキストを変換", 6960, 7920, 975, 375, pgothic);
    c.cmd2 = Button(client, "cmd2", "閉じる", "閉じる", 9720, 7920, 855, 375, pgothic);
    c.List1 = List(client, "List1", "クリックで選択", 8040, 1350, 2535, 2220, pgothic);
    c.List2 = List(client, "List2", "クリックでソースを表示", 8040, 3840, 2535, 3840, pgothic);
    c.lbl2 = Label(client, "lbl2", "モジュールリスト", 8040, 1130, 1935, 255, pgothic);
    c.lbl3 = Label(client, "lbl3", "プロシージャリスト", 8040, 3620, 1935, 255, pgothic);
    c.cmd3 = Button(client, "cmd3", "ｿｰｽｺｰﾄﾞ", "ソースコードを表示", 8160, 7920, 975, 375, pgothic);
    c.cmd4 = Button(client, "cmd4", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", "テキストをクリップボードへ転送", 5640, 7920, 1095, 375, pgothic);
    c.lbl4 = Label(client, "lbl4", "モジュール", 120, 7800, 5415, 255, pgothic);
    c.lbl5 = Label(client, "lbl5", "処理", 120, 8040, 5415, 375, pgothic);
    c.Check1 = CheckBox(client, "Check1", "　リンクタグを先頭に生成", 5400, 50, 2295, 375, pgothic);
    c.Check2 = CheckBox(client, "Check2", " 右端で折り返す", 240, 50, 1695, 375, gothic);
    c.Check3 = CheckBox(client, "Check3", " 追記モード", 3720, 50, 1575, 375, gothic);
    c.rtb1 = TextBox(client, "rtb1", gothic);
    c.rtb2 = TextBox(client, "rtb2", gothic);
    c.cmd5 = Button(client, "cmd5", "編集", "", 2160, 70, 735, 320, gothic);
    c.List0 = List(client, "List0", "", 8040, 480, 2535, 600, pgothic);
    c.Label1 = Label(client, "Label1", "プロジェクトリスト", 8040, 240, 2055, 255, gothic);

    QPalette grey = c.rtb1->palette();
    grey.setColor(QPalette::Base, QColor(224, 224, 224));
    c.rtb1->setPalette(grey);
    // The source view lies on top; the covered HTML view must not take the focus meanwhile.
    c.rtb1->setVisible(false);

    const std::array<QWidget*, 18> tabOrder{c.cmd1,   c.cmd2, c.List1, c.List2, c.lbl2,   c.lbl3,
                                            c.cmd3,   c.cmd4, c.lbl4,  c.lbl5,  c.Check1, c.Check2,
                                            c.Check3, c.rtb1, c.rtb2,  c.cmd5,  c.List0,  c.Label1};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    return c;
}

QIcon FormIcon()
{
    // A quill's nib on a page, in a handful of the classic sixteen colours.
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 2, 22, 28);
    painter.setPen(QPen(Qt::darkBlue, 2));
    for (int y = 8; y <= 24; y += 4)
        painter.drawLine(8, y, 20, y);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::darkRed);
    painter.drawPolygon(QPolygon({QPoint(30, 2), QPoint(18, 22), QPoint(16, 27), QPoint(21, 23)}));
    return QIcon(image);
}

} // namespace quillmark
