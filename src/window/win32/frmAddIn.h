#pragma once

#include "window/AddInWindow.h"
#include "window/FormCode.h"
#include "window/FormDesign.h"
#include "window/win32/Win32Controls.h"

#include <array>
#include <memory>

namespace quillmark::win32 {

// The converter window in Win32: a top-level window with no owner, its controls at their fixed
// places (twips at the screen's DPI), their events passed to the window's code. Creating it
// builds the controls; Show loads it (runs Form_Load) when it is not loaded; closing it, by
// its close box or by Unload, unloads it and hides it.
class frmAddIn final : public AddInWindow, private IFormWindow {
public:
    frmAddIn();
    ~frmAddIn() override;
    frmAddIn(const frmAddIn&) = delete;
    frmAddIn& operator=(const frmAddIn&) = delete;

    void Show() override { code_->Show(); }
    void Hide() override { code_->Hide(); }
    void Unload() override { code_->Unload(); }
    void SetConnect(std::shared_ptr<void> connect) override { code_->SetConnect(std::move(connect)); }

private:
    struct Controls;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Command(int id, int notification);
    HWND CreateControl(const ControlDesign& design, int id);

    FormControls NewControls() override;
    void ShowWindow() override;
    void HideWindow() override;
    void CloseWindow() override;
    std::string DecimalSeparator() const override;

    HWND window_ = nullptr;
    std::array<HFONT, FormFonts.size()> fonts_{}; // by FontFace
    HICON icon_ = nullptr;
    std::unique_ptr<Controls> controls_;
    Win32Clipboard clipboard_;
    std::unique_ptr<FormCode> code_;
};

} // namespace quillmark::win32
