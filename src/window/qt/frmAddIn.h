#pragma once

#include "window/qt/FormLayout.h"

#include <QWidget>

#include <memory>
#include <string>

namespace quillmark {

class CMMTimer;

// The converter window. Creating it builds its controls; Show loads it (runs Form_Load) when
// it is not loaded. Closing it, by its close box or by Unload, runs Form_QueryUnload; a later
// Show loads it anew with fresh controls, while LastModule and LastEntry live on.
class frmAddIn : public QWidget {
    Q_OBJECT
public:
    explicit frmAddIn(QWidget* parent = nullptr);
    ~frmAddIn() override;

    void Show();   // Form_Load first when not loaded, then show modeless
    void Hide();   // stays loaded with its lists and text
    void Unload(); // Form_QueryUnload, then close
    bool IsLoaded() const { return loaded_; }
    // The add-in object that shows the window; kept, never used here.
    void SetConnect(std::shared_ptr<void> connect) { connect_ = std::move(connect); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void GiveUp();
    void Form_QueryUnload();
    void List0_Click();
    void List1_Click();
    void List2_Click();
    void cmd1_Click();
    void cmd2_Click();
    void cmd3_Click();
    void cmd4_Click();
    void cmd5_Click();
    void Check2_Click();

    void FillProcedureList();
    bool DisplayEntrySource(const QColor& statusColour);
    void ShowSourceView();
    void ShowHtmlView();
    void SetModuleCaption();
    void SetStatus(const QColor& colour, const std::string& caption);
    std::string TimedStatus(const std::string& action) const;
    void QueryUnloadOnce();

    QWidget* client_ = nullptr;
    FormControls c_;
    bool loaded_ = false;
    bool controlsUsed_ = false;
    std::shared_ptr<void> connect_;

    std::string LastModule;
    std::string LastEntry;
    std::shared_ptr<CMMTimer> ProcessTimer;
};

} // namespace quillmark
