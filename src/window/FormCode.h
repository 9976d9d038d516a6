#pragma once

#include "codemodel/EntryRange.h"
#include "platform/clock/TickCounter.h"
#include "window/Controls.h"

#include <memory>
#include <optional>
#include <string>

namespace quillmark {

class CMMTimer;

// The converter window's code: its fields, its loading and unloading, and its event handlers,
// over the controls' interfaces. Each toolkit's frmAddIn builds the controls, owns one of
// these and passes it the controls' events; no handler lets a failure escape into the
// toolkit's event loop. Closing unloads the window; a later Show loads it anew with fresh
// controls, while LastModule and LastEntry live on.
class FormCode {
public:
    FormCode(IFormWindow& window, IClipboard& clipboard, FormControls controls, TickSource ticks = timeGetTime);

    void Show();   // Form_Load first when not loaded, then show modeless
    void Hide();   // stays loaded with its lists and text
    void Unload(); // Form_QueryUnload, then close
    bool IsLoaded() const { return loaded_; }
    // The add-in object that shows the window; kept, never used here.
    void SetConnect(std::shared_ptr<void> connect) { connect_ = std::move(connect); }

    // The window is asked to close, by its close box or by Unload: runs Form_QueryUnload once.
    void QueryUnload();

    void List0_Click();
    void List1_Click();
    void List2_Click();
    void cmd1_Click();
    void cmd2_Click();
    void cmd3_Click();
    void cmd4_Click();
    void cmd5_Click();
    void Check2_Click();

private:
    void Form_Load();
    void GiveUp();
    void Form_QueryUnload();

    void FillProcedureList();
    void DisplayEntrySource(OleColor statusColour, bool takeFocus);
    void KeepInlineHtml(const std::string& entry, LineRange range, bool linkFlag, bool append);
    void ShowSourceView();
    void ShowHtmlView();
    void SetModuleCaption();
    void SetStatus(OleColor colour, const std::string& caption);
    std::string TimedStatus(const std::string& action) const;

    IFormWindow& window_;
    IClipboard& clipboard_;
    FormControls c_;
    TickSource ticks_;
    bool loaded_ = false;
    bool controlsUsed_ = false;
    std::shared_ptr<void> connect_;

    std::string LastModule;
    std::string LastEntry;
    // The HTML view's conversions styled inline, joined as the view joins them: the clipboard's
    // HTML flavour. Empty when the view holds none; none once an edit or a failure has made the
    // view hold what it cannot stand for.
    std::optional<std::string> copiedHtml_;
    std::string convertedText_; // the view's text as the conversions left it, to tell an edit
    std::shared_ptr<CMMTimer> ProcessTimer;
};

} // namespace quillmark
