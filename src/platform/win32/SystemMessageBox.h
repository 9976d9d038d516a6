#pragma once

#include "platform/ui/MessageBox.h"

namespace quillmark::win32 {

// Messages in the system's modal message box over the active window: the text, the title, an
// OK button and no icon.
class SystemMessageBox final : public MessageBox {
public:
    void Show(const std::string& text, const std::string& title) override;
};

} // namespace quillmark::win32
