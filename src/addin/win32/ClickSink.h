#pragma once

#include "platform/win32/com/Automation.h"

#include <functional>

namespace quillmark::win32 {

// The click event of the editor's CommandBarEvents, connected through the source's connection
// point: Click (dispatch id 1) arrives with the control and the handled and cancel-default flags.
class ClickConnection {
public:
    using Handler = std::function<void(IDispatch* control, bool& handled, bool& cancelDefault)>;

    // Throws RuntimeError 459 when the source offers no such event or refuses the sink.
    ClickConnection(IDispatch* source, Handler handler);
    ~ClickConnection();
    ClickConnection(const ClickConnection&) = delete;
    ClickConnection& operator=(const ClickConnection&) = delete;

private:
    ComPtr<IConnectionPoint> point_;
    ComPtr<IDispatch> sink_;
    DWORD cookie_ = 0;
};

} // namespace quillmark::win32
