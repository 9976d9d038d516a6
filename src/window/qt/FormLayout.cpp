#include "window/qt/FormLayout.h"

#include "window/qt/QtControls.h"
#include "window/qt/TextView.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace quillmark {
namespace {

QString Family(FontFace face)
{
    return QString::fromUtf8(FontOf(face).family);
}

QWidget* NewControl(QWidget* client, const ControlDesign& d)
{
    const QString caption = QString::fromUtf8(d.caption);
    switch (d.kind) {
    case ControlKind::CommandButton: return new QPushButton(caption, client);
    case ControlKind::ListBox: return new ListBox(client);
    case ControlKind::Label: {
        auto* label = new QLabel(caption, client);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::CheckBox: return new QCheckBox(caption, client);
    case ControlKind::TextView: {
        auto* view = new QPlainTextEdit(client);
        view->setTabChangesFocus(true);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        SetRightMargin(view, WideRightMargin);
        return view;
    }
    }
    return nullptr;
}

QWidget* Place(QWidget* client, const ControlDesign& d)
{
    QWidget* widget = NewControl(client, d);
    widget->setObjectName(QString::fromLatin1(d.name));
    widget->setGeometry(Twips(d.left), Twips(d.top), Twips(d.width), Twips(d.height));
    widget->setFont(FormFont(d.font));
    widget->setToolTip(QString::fromUtf8(d.tip));
    if (d.foreColor || d.backColor) {
        QPalette palette = widget->palette();
        if (d.foreColor)
            palette.setColor(QPalette::WindowText, ToQColor(*d.foreColor));
        if (d.backColor)
            palette.setColor(QPalette::Base, ToQColor(*d.backColor));
        widget->setPalette(palette);
    }
    if (!d.visible)
        widget->setVisible(false);
    return widget;
}

// The widget of a control, as the class its kind gives it.
template <typename W>
W* As(const std::array<QWidget*, control::Count>& widgets, control::Index index)
{
    return qobject_cast<W*>(widgets[index]);
}

} // namespace

QFont FormFont(FontFace face)
{
    QFont font(Family(face), FontPoints);
    font.setWeight(static_cast<QFont::Weight>(FontWeight));
    if (FontOf(face).fixedPitch) {
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    return font;
}

void InstallFontSubstitutions()
{
    const std::array<std::pair<QString, QString>, 2> substitutions{{
        {Family(FontFace::Gothic), QStringLiteral("IPAGothic")},
        {Family(FontFace::PGothic), QStringLiteral("IPAPGothic")},
    }};
    for (const auto& [family, installed] : substitutions) {
        if (!QFont::substitutes(family).contains(installed))
            QFont::insertSubstitution(family, installed);
    }
}

FormWidgets BuildFormWidgets(QWidget* client)
{
    std::array<QWidget*, control::Count> w{};
    for (std::size_t i = 0; i < FormDesign.size(); ++i) {
        w[i] = Place(client, FormDesign[i]);
        if (i > 0)
            QWidget::setTabOrder(w[i - 1], w[i]);
    }
    using namespace control;
    return {.cmd1 = As<QPushButton>(w, cmd1),
            .cmd2 = As<QPushButton>(w, cmd2),
            .List1 = As<ListBox>(w, List1),
            .List2 = As<ListBox>(w, List2),
            .lbl2 = As<QLabel>(w, lbl2),
            .lbl3 = As<QLabel>(w, lbl3),
            .cmd3 = As<QPushButton>(w, cmd3),
            .cmd4 = As<QPushButton>(w, cmd4),
            .lbl4 = As<QLabel>(w, lbl4),
            .lbl5 = As<QLabel>(w, lbl5),
            .Check1 = As<QCheckBox>(w, Check1),
            .Check2 = As<QCheckBox>(w, Check2),
            .Check3 = As<QCheckBox>(w, Check3),
            .rtb1 = As<QPlainTextEdit>(w, rtb1),
            .rtb2 = As<QPlainTextEdit>(w, rtb2),
            .cmd5 = As<QPushButton>(w, cmd5),
            .List0 = As<ListBox>(w, List0),
            .Label1 = As<QLabel>(w, Label1)};
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
