#include "window/qt/frmAddIn.h"

#include "codemodel/EntryRange.h"
#include "codemodel/ModHtml.h"
#include "codemodel/RuntimeError.h"
#include "codemodel/SourceReader.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "platform/ui/MessageBox.h"
#include "timing/CMMTimer.h"
#include "window/NumberText.h"
#include "window/qt/TextView.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>

namespace quillmark {
namespace {

const std::string ModuleFailureText = "Quillmarkはモジュールの取得に失敗しました。\r\n"
                                      "複数のファイルには対応しておりません。\r\n"
                                      "Quillmarkを再起動してください。";

void ShowModuleFailure()
{
    MsgBox(ModuleFailureText, "Quillmark");
}

// Runs a handler that has no failure path of its own, so that nothing escapes into Qt's
// event loop; a failure is reported like the other handlers' errors.
template <typename Handler>
void Guarded(const char* title, Handler handler)
{
    try {
        handler();
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), title);
    }
}

CMMTimer& Timer(const std::shared_ptr<CMMTimer>& timer)
{
    return Obj(timer); // a start-up that gave up left none
}

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

} // namespace

frmAddIn::frmAddIn(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InstallFontSubstitutions();
    setObjectName(QStringLiteral("frmAddIn"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setWindowIcon(FormIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(GothicFont());
    setFixedSize(ClientWidth, ClientHeight);
    BuildControls();
}

frmAddIn::~frmAddIn() = default;

void frmAddIn::BuildControls()
{
    // A closed window comes back with its design-time controls, as a freshly loaded form does.
    // The old ones go once the event that may still be running in one of them is over.
    if (client_) {
        client_->setParent(nullptr);
        client_->deleteLater();
    }
    client_ = new QWidget(this);
    client_->setGeometry(0, 0, ClientWidth, ClientHeight);
    c_ = BuildFormControls(client_);
    client_->show();
    controlsUsed_ = false;

    connect(c_.List0, &ListBox::Click, this, [this] { List0_Click(); });
    connect(c_.List1, &ListBox::Click, this, [this] { List1_Click(); });
    connect(c_.List2, &ListBox::Click, this, [this] { List2_Click(); });
    connect(c_.cmd1, &QPushButton::clicked, this, [this] { cmd1_Click(); });
    connect(c_.cmd2, &QPushButton::clicked, this, [this] { Guarded("frmAddIn.cmd2_Click", [this] { cmd2_Click(); }); });
    connect(c_.cmd3, &QPushButton::clicked, this, [this] { cmd3_Click(); });
    connect(c_.cmd4, &QPushButton::clicked, this, [this] { Guarded("frmAddIn.cmd4_Click", [this] { cmd4_Click(); }); });
    connect(c_.cmd5, &QPushButton::clicked, this, [this] { Guarded("frmAddIn.cmd5_Click", [this] { cmd5_Click(); }); });
    connect(c_.Check2, &QCheckBox::toggled, this,
            [this] { Guarded("frmAddIn.Check2_Click", [this] { Check2_Click(); }); });
}

void frmAddIn::Show()
{
    if (!loaded_) {
        if (controlsUsed_)
            BuildControls();
        loaded_ = true;
        controlsUsed_ = true;
        Form_Load();
    }
    show();
    raise();
    activateWindow();
}

void frmAddIn::Hide()
{
    hide();
}

void frmAddIn::Unload()
{
    QueryUnloadOnce();
    close();
}

void frmAddIn::closeEvent(QCloseEvent* event)
{
    QueryUnloadOnce();
    event->accept();
}

void frmAddIn::QueryUnloadOnce()
{
    if (!loaded_)
        return;
    loaded_ = false;
    Form_QueryUnload();
}

// ---- Start-up and the three lists ----

void frmAddIn::Form_Load()
{
    ProcessTimer = std::make_shared<CMMTimer>();
    try {
        auto& m = ModHtml();
        if (!GetProjects())
            return GiveUp();
        m.CurrentProject = Obj(m.HostEditor).ActiveVBProject();
        if (!GetModuleList(m.CurrentProject))
            return GiveUp();
        for (const auto& project : *m.ProjectCollection)
            c_.List0->AddItem(project.key); // the bare file name
        for (const auto& caption : *m.ModuleCollection)
            c_.List1->AddItem(caption.item);

        if (InitKeywords()) {
            GetModData(m.CurrentProject, m.CurrentModuleName, m.ProcCount, m.ModuleLineCount);
            FillProcedureList();
            c_.List2->SetListIndex(0);
            ShowSourceView();
            SetModuleCaption();
            SetViewText(c_.rtb2, ReadVbaWindow(m.CurrentProject, 1, m.ModuleLineCount));
            SetCaretToStart(c_.rtb2);
        }

        for (int row = 0; row < c_.List1->count(); ++row) {
            if (QString::fromStdString(c_.List1->ItemText(row)).mid(4).toStdString() == m.CurrentModuleName) {
                c_.List1->SetListIndex(row);
                break;
            }
        }

        const std::string current = BareFileName(Obj(m.CurrentProject).FileName());
        for (int row = 0; row < c_.List0->count(); ++row) {
            if (c_.List0->ItemText(row) == current) {
                c_.List0->SetListIndex(row);
                break;
            }
        }
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), "frmAddIn.Form_Load");
        GiveUp();
    }
}

void frmAddIn::GiveUp()
{
    ProcessTimer.reset();
    ModHtml().CurrentProject.reset();
}

void frmAddIn::Form_QueryUnload()
{
    ReleaseProjects();
    ProcessTimer.reset();
}

void frmAddIn::List0_Click()
{
    try {
        auto& m = ModHtml();
        const std::string current = Obj(m.CurrentProject).FileName();
        if (!m.ProjectCollection)
            throw RuntimeError(err::ObjectNotSet);
        std::shared_ptr<VBProject> selected = m.ProjectCollection->Item(c_.List0->Text());
        if (Obj(selected).FileName() == current)
            return;
        m.CurrentProject = selected;
        if (GetModuleList(m.CurrentProject)) {
            c_.List1->clear();
            for (const auto& caption : *m.ModuleCollection)
                c_.List1->AddItem(caption.item);
            c_.List1->SetListIndex(0);
        } else {
            c_.List1->clear();
            c_.List2->clear();
        }
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), "frmAddIn.List0_Click");
    }
}

void frmAddIn::List1_Click()
{
    try {
        auto& m = ModHtml();
        m.CurrentModuleName = QString::fromStdString(c_.List1->Text()).mid(4).toStdString();
        GetModData(m.CurrentProject, m.CurrentModuleName, m.ProcCount, m.ModuleLineCount);
        FillProcedureList();
        c_.List2->SetListIndex(0);
        SetModuleCaption();
    } catch (...) {
        ShowModuleFailure();
    }
}

void frmAddIn::List2_Click()
{
    DisplayEntrySource(QGuiApplication::palette().color(QPalette::ButtonText));
}

// The source display of the procedure list and of "ｿｰｽｺｰﾄﾞ": they differ only in the status
// colour and in who takes the focus. False when nothing is selected or a failure was shown.
bool frmAddIn::DisplayEntrySource(const QColor& statusColour)
{
    const std::string entry = c_.List2->Text();
    if (entry.empty())
        return false;
    try {
        auto& m = ModHtml();
        Timer(ProcessTimer).StartTimer();
        const LineRange range = GetEntryRange(entry);
        ShowSourceView();
        SetViewText(c_.rtb2, ReadVbaWindow(m.CurrentProject, range.FirstLine, range.LastLine));
        LastModule = m.CurrentModuleName;
        LastEntry = c_.List2->Text();
        Timer(ProcessTimer).StopTimer();
        SetStatus(statusColour, TimedStatus(" を表示しています"));
        SetCaretToStart(c_.rtb2);
        return true;
    } catch (...) {
        ShowModuleFailure();
        return false;
    }
}

void frmAddIn::FillProcedureList()
{
    const auto& m = ModHtml();
    c_.List2->clear();
    c_.List2->AddItem("*");
    c_.List2->AddItem("_Declarations_");
    // GetModData keeps the old index after a failure while the count says how far it got.
    for (std::int32_t i = 0; i < m.ProcCount; ++i)
        c_.List2->AddItem(m.ProcIndex.at(static_cast<std::size_t>(i)).ProcName);
}

// ---- Commands ----

void frmAddIn::cmd1_Click()
{
    const std::string entry = c_.List2->Text();
    if (entry.empty())
        return;
    try {
        auto& m = ModHtml();
        Timer(ProcessTimer).StartTimer();
        LineRange range = GetEntryRange(entry);
        ShowHtmlView();
        SetCaretToStart(c_.rtb1);
        const bool linkFlag = c_.Check1->isChecked();
        if (c_.Check3->isChecked()) {
            AppendViewText(c_.rtb1,
                           "\r\n" + ConvertToHtml(m.CurrentProject, entry, range.FirstLine, range.LastLine, linkFlag));
        } else {
            SetViewText(c_.rtb1, ConvertToHtml(m.CurrentProject, entry, range.FirstLine, range.LastLine, linkFlag));
        }
        LastModule = m.CurrentModuleName;
        LastEntry = c_.List2->Text();
        Timer(ProcessTimer).StopTimer();
        SetStatus(Blue, TimedStatus(" を変換しました"));
    } catch (...) {
        ShowModuleFailure();
    }
}

void frmAddIn::cmd3_Click()
{
    if (DisplayEntrySource(Blue))
        c_.rtb2->setFocus();
}

void frmAddIn::cmd4_Click()
{
    if (LastModule.empty())
        return;
    ShowHtmlView();
    SetCaretToStart(c_.rtb1);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(ViewText(c_.rtb1)));
    SetStatus(Red, LastModule + "." + LastEntry + "を転送しました");
}

void frmAddIn::cmd5_Click()
{
    ShowHtmlView();
    c_.rtb1->setFocus();
}

void frmAddIn::cmd2_Click()
{
    LastModule.clear();
    LastEntry.clear();
    Unload();
}

void frmAddIn::Check2_Click()
{
    const float margin = c_.Check2->isChecked() ? 0.0f : WideRightMargin;
    SetRightMargin(c_.rtb1, margin);
    SetRightMargin(c_.rtb2, margin);
}

// ---- Views and labels ----

void frmAddIn::ShowSourceView()
{
    c_.rtb1->setVisible(false);
    c_.rtb2->setVisible(true);
}

void frmAddIn::ShowHtmlView()
{
    c_.rtb2->setVisible(false);
    c_.rtb1->setVisible(true);
}

void frmAddIn::SetModuleCaption()
{
    c_.lbl4->setText(QString::fromStdString("モジュール: " + ModHtml().CurrentModuleName + " が選択されています"));
}

void frmAddIn::SetStatus(const QColor& colour, const std::string& caption)
{
    QPalette palette = c_.lbl5->palette();
    palette.setColor(QPalette::WindowText, colour);
    c_.lbl5->setPalette(palette);
    c_.lbl5->setText(QString::fromStdString(caption));
}

std::string frmAddIn::TimedStatus(const std::string& action) const
{
    return "処理 " + NumberText(Timer(ProcessTimer).ElapsedTime()) + " 秒 : " + LastModule + "." + LastEntry + action;
}

} // namespace quillmark
