#pragma once

#include "platform/ui/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace quillmark {

// Messages as modal dialogs over the owner window (the active window when there is none):
// the text, the title, an OK button and no icon.
class GuiMessageBox final : public MessageBox {
public:
    explicit GuiMessageBox(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void Show(const std::string& text, const std::string& title) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace quillmark
