#pragma once

#include "window/AddInWindow.h"
#include "window/FormCode.h"
#include "window/qt/QtControls.h"

#include <QWidget>

#include <memory>

namespace quillmark {

// The converter window in Qt Widgets: its controls at their fixed places, their events passed
// to the window's code. Creating it builds the controls; Show loads it (runs Form_Load) when
// it is not loaded; closing it, by its close box or by Unload, unloads it.
class frmAddIn : public QWidget, public AddInWindow, private IFormWindow {
    Q_OBJECT
public:
    explicit frmAddIn(QWidget* parent = nullptr);
    ~frmAddIn() override;

    void Show() override { code_->Show(); }
    void Hide() override { code_->Hide(); }
    void Unload() override { code_->Unload(); }
    bool IsLoaded() const { return code_->IsLoaded(); }
    void SetConnect(std::shared_ptr<void> connect) override { code_->SetConnect(std::move(connect)); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Adapters;

    FormControls NewControls() override;
    void ShowWindow() override;
    void HideWindow() override;
    void CloseWindow() override { close(); }
    std::string DecimalSeparator() const override;

    QWidget* client_ = nullptr;
    std::unique_ptr<Adapters> adapters_; // over client_'s widgets
    QtClipboard clipboard_;
    std::unique_ptr<FormCode> code_;
};

} // namespace quillmark
