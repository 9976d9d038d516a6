#pragma once

#include "codemodel/HostObjectModel.h"
#include "platform/com/HostObject.h"
#include "platform/com/Variant.h"

#include <cstdint>
#include <vector>

namespace quillmark::com {

// The editor's add-in interface: five notifications through which the editor drives an add-in.
inline constexpr Guid IID_IDTExtensibility2 = MakeGuid("B65AD801-ABAF-11D0-BB8B-00A0C90F2744");

// Identifiers under which the editor's objects travel (HostObject).
inline constexpr Guid IID_VBE = MakeGuid("0002E166-0000-0000-C000-000000000046");
inline constexpr Guid IID_CommandBarControl = MakeGuid("000C0308-0000-0000-C000-000000000046");
inline constexpr Guid IID_CommandBarEvents = MakeGuid("0002E130-0000-0000-C000-000000000046");

namespace ext_ConnectMode = quillmark::ext_ConnectMode;
namespace ext_DisconnectMode = quillmark::ext_DisconnectMode;

class IDTExtensibility2 : public IUnknown {
public:
    // application is the editor's root object (IID_VBE).
    virtual HResult OnConnection(IUnknown* application, std::int32_t connectMode, IUnknown* addInInst,
                                 std::vector<Variant>& custom) = 0;
    virtual HResult OnDisconnection(std::int32_t removeMode, std::vector<Variant>& custom) = 0;
    virtual HResult OnAddInsUpdate(std::vector<Variant>& custom) = 0;
    virtual HResult OnStartupComplete(std::vector<Variant>& custom) = 0;
    virtual HResult OnBeginShutdown(std::vector<Variant>& custom) = 0;

protected:
    ~IDTExtensibility2() = default;
};

} // namespace quillmark::com
