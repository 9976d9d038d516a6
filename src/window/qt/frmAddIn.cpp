#include "window/qt/frmAddIn.h"

#include "window/qt/FormLayout.h"

#include <QCloseEvent>
#include <QLocale>

namespace quillmark {

struct frmAddIn::Adapters {
    explicit Adapters(const FormWidgets& w)
        : Check1(w.Check1), Check2(w.Check2), Check3(w.Check3), lbl4(w.lbl4), lbl5(w.lbl5), rtb1(w.rtb1), rtb2(w.rtb2)
    {}
    QtCheckBox Check1, Check2, Check3;
    QtLabel lbl4, lbl5;
    QtTextView rtb1, rtb2;
};

frmAddIn::frmAddIn(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InstallFontSubstitutions();
    setObjectName(QStringLiteral("frmAddIn"));
    setWindowTitle(QString::fromUtf8(FormTitle));
    setWindowIcon(FormIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(FormFont(FontFace::Gothic));
    setFixedSize(ClientWidth, ClientHeight);
    IFormWindow& window = *this;
    code_ = std::make_unique<FormCode>(window, clipboard_, NewControls());
}

frmAddIn::~frmAddIn()
{
    delete client_; // while the code its events reach is still there
}

FormControls frmAddIn::NewControls()
{
    // The old controls go once the event that may still be running in one of them is over.
    if (client_) {
        client_->setParent(nullptr);
        client_->deleteLater();
    }
    client_ = new QWidget(this);
    client_->setGeometry(0, 0, ClientWidth, ClientHeight);
    const FormWidgets w = BuildFormWidgets(client_);
    client_->show();
    adapters_ = std::make_unique<Adapters>(w);

    connect(w.List0, &ListBox::Click, this, [this] { code_->List0_Click(); });
    connect(w.List1, &ListBox::Click, this, [this] { code_->List1_Click(); });
    connect(w.List2, &ListBox::Click, this, [this] { code_->List2_Click(); });
    connect(w.cmd1, &QPushButton::clicked, this, [this] { code_->cmd1_Click(); });
    connect(w.cmd2, &QPushButton::clicked, this, [this] { code_->cmd2_Click(); });
    connect(w.cmd3, &QPushButton::clicked, this, [this] { code_->cmd3_Click(); });
    connect(w.cmd4, &QPushButton::clicked, this, [this] { code_->cmd4_Click(); });
    connect(w.cmd5, &QPushButton::clicked, this, [this] { code_->cmd5_Click(); });
    connect(w.Check2, &QCheckBox::toggled, this, [this] { code_->Check2_Click(); });

    Adapters& a = *adapters_;
    return {w.List0, w.List1, w.List2, &a.Check1, &a.Check2, &a.Check3, &a.lbl4, &a.lbl5, &a.rtb1, &a.rtb2};
}

void frmAddIn::ShowWindow()
{
    show();
    raise();
    activateWindow();
}

void frmAddIn::HideWindow()
{
    hide();
}

std::string frmAddIn::DecimalSeparator() const
{
    return locale().decimalPoint().toStdString();
}

void frmAddIn::closeEvent(QCloseEvent* event)
{
    code_->QueryUnload();
    event->accept();
}

} // namespace quillmark
