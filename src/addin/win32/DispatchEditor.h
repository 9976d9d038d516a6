#pragma once

// The editor's object model reached through IDispatch by name (late binding), so that one
// library serves every Office version.

#include "codemodel/HostObjectModel.h"
#include "platform/win32/com/Automation.h"

#include <memory>

namespace quillmark::win32 {

// Each of the editor's objects here keeps its IDispatch, which goes back out to clients as is.
class DispatchHolder {
public:
    virtual ~DispatchHolder() = default;
    virtual IDispatch* Dispatch() const = 0;
};

// The editor's root object, or nothing for an empty reference.
std::shared_ptr<VBE> EditorOf(IDispatch* application);
// A click source handed in by a client, or nothing.
std::shared_ptr<CommandBarEvents> ClickSourceOf(IDispatch* source);

// The IDispatch behind one of the objects above; nullptr for an empty pointer or an object that
// did not come from here.
template <class T>
IDispatch* DispatchOf(const std::shared_ptr<T>& object)
{
    const auto* holder = dynamic_cast<const DispatchHolder*>(object.get());
    return holder ? holder->Dispatch() : nullptr;
}

} // namespace quillmark::win32
