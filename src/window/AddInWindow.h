#pragma once

#include <functional>
#include <memory>

namespace quillmark {

// The converter window as the add-in drives it; each toolkit's window implements it.
class AddInWindow {
public:
    virtual ~AddInWindow() = default;
    virtual void Show() = 0;   // loads the window first when it is not loaded, then shows it modeless
    virtual void Hide() = 0;   // it stays loaded with its lists and text
    virtual void Unload() = 0; // runs its unload handling and closes it
    // The add-in object that shows the window; the window keeps it and does not use it.
    virtual void SetConnect(std::shared_ptr<void> connect) = 0;
};

// Creates a window object without loading it; throws when the platform can show none.
using AddInWindowFactory = std::function<std::unique_ptr<AddInWindow>()>;

} // namespace quillmark
