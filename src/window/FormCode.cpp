#include "window/FormCode.h"

#include "base/RuntimeError.h"
#include "codemodel/ProjectLists.h"
#include "modhtml/ModHtml.h"
#include "modhtml/SharedSetProcedures.h"
#include "platform/ui/MessageBox.h"
#include "timing/CMMTimer.h"
#include "window/NumberText.h"

namespace quillmark {
namespace {

const std::string ModuleFailureText = "Quillmarkはモジュールの取得に失敗しました。\r\n"
                                      "複数のファイルには対応しておりません。\r\n"
                                      "Quillmarkを再起動してください。";

void ShowModuleFailure()
{
    MsgBox(ModuleFailureText, "Quillmark");
}

// Runs a handler that has no failure path of its own, so that nothing escapes into the
// toolkit's event loop; a failure is reported like the other handlers' errors.
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

// A module-list caption without its first four characters, the type prefix ("MOD Module1").
std::string ModuleNameOf(const std::string& caption)
{
    std::size_t start = 0;
    for (int characters = 0; characters < 4 && start < caption.size(); ++characters) {
        ++start;
        while (start < caption.size() && (static_cast<unsigned char>(caption[start]) & 0xC0) == 0x80)
            ++start; // the rest of a UTF-8 sequence
    }
    return caption.substr(start);
}

} // namespace

FormCode::FormCode(IFormWindow& window, IClipboard& clipboard, FormControls controls, TickSource ticks)
    : window_(window), clipboard_(clipboard), c_(controls), ticks_(std::move(ticks))
{}

void FormCode::Show()
{
    if (!loaded_) {
        if (controlsUsed_)
            c_ = window_.NewControls(); // as a freshly loaded form comes
        loaded_ = true;
        controlsUsed_ = true;
        Form_Load();
    }
    window_.ShowWindow();
}

void FormCode::Hide()
{
    window_.HideWindow();
}

void FormCode::Unload()
{
    QueryUnload();
    window_.CloseWindow();
}

void FormCode::QueryUnload()
{
    if (!loaded_)
        return;
    loaded_ = false;
    Form_QueryUnload();
}

// ---- Start-up and the three lists ----

void FormCode::Form_Load()
{
    ProcessTimer = std::make_shared<CMMTimer>(ticks_);
    copiedHtml_.emplace(); // the HTML view comes empty
    convertedText_.clear();
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
            c_.rtb2->SetText(ReadVbaWindow(m.CurrentProject, 1, m.ModuleLineCount));
            c_.rtb2->SetCaretToStart();
        }

        for (int row = 0; row < c_.List1->ListCount(); ++row) {
            if (ModuleNameOf(c_.List1->ItemText(row)) == m.CurrentModuleName) {
                c_.List1->SetListIndex(row);
                break;
            }
        }

        const std::string current = BareFileName(Obj(m.CurrentProject).FileName());
        for (int row = 0; row < c_.List0->ListCount(); ++row) {
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

void FormCode::GiveUp()
{
    ProcessTimer.reset();
    ModHtml().CurrentProject.reset();
}

void FormCode::Form_QueryUnload()
{
    ReleaseProjects();
    ProcessTimer.reset();
}

void FormCode::List0_Click()
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
            c_.List1->Clear();
            for (const auto& caption : *m.ModuleCollection)
                c_.List1->AddItem(caption.item);
            c_.List1->SetListIndex(0);
        } else {
            c_.List1->Clear();
            c_.List2->Clear();
        }
    } catch (...) {
        MsgBox(ErrorReport(CurrentError()), "frmAddIn.List0_Click");
    }
}

void FormCode::List1_Click()
{
    try {
        auto& m = ModHtml();
        m.CurrentModuleName = ModuleNameOf(c_.List1->Text());
        GetModData(m.CurrentProject, m.CurrentModuleName, m.ProcCount, m.ModuleLineCount);
        FillProcedureList();
        c_.List2->SetListIndex(0);
        SetModuleCaption();
    } catch (...) {
        ShowModuleFailure();
    }
}

void FormCode::List2_Click()
{
    DisplayEntrySource(vbButtonText, false);
}

// The source display of the procedure list and of "ｿｰｽｺｰﾄﾞ": they differ only in the status
// colour and in whether the source view takes the focus.
void FormCode::DisplayEntrySource(OleColor statusColour, bool takeFocus)
{
    try {
        const std::string entry = c_.List2->Text();
        if (entry.empty())
            return;
        auto& m = ModHtml();
        Timer(ProcessTimer).StartTimer();
        const LineRange range = GetEntryRange(entry);
        ShowSourceView();
        c_.rtb2->SetText(ReadVbaWindow(m.CurrentProject, range.FirstLine, range.LastLine));
        LastModule = m.CurrentModuleName;
        LastEntry = c_.List2->Text();
        Timer(ProcessTimer).StopTimer();
        SetStatus(statusColour, TimedStatus(" を表示しています"));
        c_.rtb2->SetCaretToStart();
        if (takeFocus)
            c_.rtb2->SetFocus();
    } catch (...) {
        ShowModuleFailure();
    }
}

void FormCode::FillProcedureList()
{
    const auto& m = ModHtml();
    c_.List2->Clear();
    c_.List2->AddItem("*");
    c_.List2->AddItem("_Declarations_");
    // GetModData keeps the old index after a failure while the count says how far it got.
    for (std::int32_t i = 0; i < m.ProcCount; ++i)
        c_.List2->AddItem(m.ProcIndex.at(static_cast<std::size_t>(i)).ProcName);
}

// ---- Commands ----

void FormCode::cmd1_Click()
{
    try {
        const std::string entry = c_.List2->Text();
        if (entry.empty())
            return;
        auto& m = ModHtml();
        Timer(ProcessTimer).StartTimer();
        LineRange range = GetEntryRange(entry);
        ShowHtmlView();
        c_.rtb1->SetCaretToStart();
        const bool linkFlag = c_.Check1->Value();
        const bool append = c_.Check3->Value();
        if (append && c_.rtb1->Text() != convertedText_)
            copiedHtml_.reset(); // the edit stays in the view that the conversion is appended to
        if (append) {
            c_.rtb1->AppendText("\r\n" +
                                ConvertToHtml(m.CurrentProject, entry, range.FirstLine, range.LastLine, linkFlag));
        } else {
            c_.rtb1->SetText(ConvertToHtml(m.CurrentProject, entry, range.FirstLine, range.LastLine, linkFlag));
        }
        LastModule = m.CurrentModuleName;
        LastEntry = c_.List2->Text();
        Timer(ProcessTimer).StopTimer();
        SetStatus(vbBlue, TimedStatus(" を変換しました"));
        KeepInlineHtml(entry, range, linkFlag, append);
    } catch (...) {
        ShowModuleFailure();
    }
}

// Made as the view's text is, while the module and its index are the ones converted; a
// failure here leaves the clipboard plain text only, as the conversion has reported what failed.
void FormCode::KeepInlineHtml(const std::string& entry, LineRange range, bool linkFlag, bool append)
{
    convertedText_ = c_.rtb1->Text();
    std::string html;
    try {
        html = ConvertToInlineHtml(ModHtml().CurrentProject, entry, range.FirstLine, range.LastLine, linkFlag);
    } catch (...) {
        copiedHtml_.reset();
        return;
    }
    if (!append || (copiedHtml_ && copiedHtml_->empty()))
        copiedHtml_ = std::move(html);
    else if (copiedHtml_)
        *copiedHtml_ += "\r\n" + html;
}

void FormCode::cmd3_Click()
{
    DisplayEntrySource(vbBlue, true);
}

void FormCode::cmd4_Click()
{
    Guarded("frmAddIn.cmd4_Click", [this] {
        if (LastModule.empty())
            return;
        ShowHtmlView();
        c_.rtb1->SetCaretToStart();
        clipboard_.Clear();
        // An edited view goes as plain text alone: Word or Outlook would paste the HTML instead,
        // the code as it was before the edit.
        const std::string text = c_.rtb1->Text();
        clipboard_.SetText(text, copiedHtml_ && text == convertedText_ ? *copiedHtml_ : std::string());
        SetStatus(vbRed, LastModule + "." + LastEntry + "を転送しました");
    });
}

void FormCode::cmd5_Click()
{
    Guarded("frmAddIn.cmd5_Click", [this] {
        ShowHtmlView();
        c_.rtb1->SetFocus();
    });
}

void FormCode::cmd2_Click()
{
    Guarded("frmAddIn.cmd2_Click", [this] {
        LastModule.clear();
        LastEntry.clear();
        Unload();
    });
}

void FormCode::Check2_Click()
{
    Guarded("frmAddIn.Check2_Click", [this] {
        const float margin = c_.Check2->Value() ? 0.0f : WideRightMargin;
        c_.rtb1->SetRightMargin(margin);
        c_.rtb2->SetRightMargin(margin);
    });
}

// ---- Views and labels ----

void FormCode::ShowSourceView()
{
    c_.rtb1->SetVisible(false);
    c_.rtb2->SetVisible(true);
}

void FormCode::ShowHtmlView()
{
    c_.rtb2->SetVisible(false);
    c_.rtb1->SetVisible(true);
}

void FormCode::SetModuleCaption()
{
    c_.lbl4->SetCaption("モジュール: " + ModHtml().CurrentModuleName + " が選択されています");
}

void FormCode::SetStatus(OleColor colour, const std::string& caption)
{
    c_.lbl5->SetForeColor(colour);
    c_.lbl5->SetCaption(caption);
}

std::string FormCode::TimedStatus(const std::string& action) const
{
    return "処理 " + NumberText(Timer(ProcessTimer).ElapsedTime(), window_.DecimalSeparator()) + " 秒 : " + LastModule +
           "." + LastEntry + action;
}

} // namespace quillmark
