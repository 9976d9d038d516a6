// The entry points of Quillmark.dll: the class factories, unloading and self-registration.
// DllRegisterServer (regsvr32 by hand) writes below HKEY_LOCAL_MACHINE when this process may
// (an elevated regsvr32), otherwise for this user only, and DllUnregisterServer removes both.
// DllInstall with "user" or "machine" (regsvr32 /n /i:user, as the setup runs it) registers and
// removes that scope alone, so that an installation per user and one for everyone live side by
// side.

#include "addin/AddInIdentity.h"
#include "addin/RegistrationEntries.h"
#include "platform/win32/SystemMessageBox.h"
#include "platform/win32/SystemRegistry.h"
#include "platform/win32/WideText.h"
#include "platform/win32/com/Automation.h"
#include "platform/win32/com/TypeLibrary.h"
#include "programs/addin-dll/Connect.h"
#include "programs/addin-dll/TimerObject.h"

#include <olectl.h>

#include <array>
#include <vector>

namespace quillmark::win32 {
namespace {

// A 64-bit library serves the 64-bit Office, whose editor keeps its own add-in list.
constexpr bool For64BitOffice = sizeof(void*) == 8;

quillmark::RegistrationLayout LayoutBelow(const char* classesRoot)
{
    return {classesRoot, For64BitOffice ? "win64" : "win32", AddInKey(For64BitOffice)};
}

class Installed {
public:
    Installed() { SetMessageBox(&box_); }

private:
    SystemMessageBox box_;
};

const Installed messages;

} // namespace
} // namespace quillmark::win32

using namespace quillmark::win32;
using quillmark::MachineClassesRoot;
using quillmark::UserClassesRoot;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    using quillmark::com::Served;
    static const std::array classes{
        Served<SystemRuntime, quillmark::win32::Connect>(SystemGuid(quillmark::CLSID_Connect)),
        Served<SystemRuntime, TimerObject>(SystemGuid(quillmark::CLSID_CMMTimer))};
    return quillmark::com::GetClassObject(classes, clsid, iid, object);
}

STDAPI DllCanUnloadNow()
{
    return quillmark::com::CanUnloadNow<SystemRuntime>();
}

STDAPI DllRegisterServer()
{
    try {
        const std::string path = Narrow(ThisModulePath());
        if (path.empty())
            return E_UNEXPECTED;
        SystemRegistry registry;
        const char* root = registry.CanWriteBelow(MachineClassesRoot) ? MachineClassesRoot : UserClassesRoot;
        WriteRegistration(registry, path, LayoutBelow(root));
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

STDAPI DllUnregisterServer()
{
    try {
        SystemRegistry registry;
        // Both registrations share the add-in entry, so both go at once, or neither: one for
        // everyone is refused to a process that may not remove it.
        std::vector<quillmark::RegistrationLayout> layouts{LayoutBelow(UserClassesRoot)};
        if (HasRegistration(registry, LayoutBelow(MachineClassesRoot)))
            layouts.push_back(LayoutBelow(MachineClassesRoot));
        quillmark::RemoveRegistration(registry, layouts);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

STDAPI DllInstall(BOOL install, PCWSTR scope)
{
    try {
        const std::wstring_view named = scope ? scope : L"";
        const bool machine =
            ::CompareStringOrdinal(named.data(), static_cast<int>(named.size()), L"machine", -1, TRUE) == CSTR_EQUAL;
        if (!machine &&
            ::CompareStringOrdinal(named.data(), static_cast<int>(named.size()), L"user", -1, TRUE) != CSTR_EQUAL)
            return E_INVALIDARG;
        const auto own = LayoutBelow(machine ? MachineClassesRoot : UserClassesRoot);
        const auto other = LayoutBelow(machine ? UserClassesRoot : MachineClassesRoot);
        SystemRegistry registry;
        if (!install) {
            quillmark::RemoveScopeRegistration(registry, own, other);
            return S_OK;
        }
        if (machine && !registry.CanWriteBelow(MachineClassesRoot))
            return E_ACCESSDENIED;
        const std::string path = Narrow(ThisModulePath());
        if (path.empty())
            return E_UNEXPECTED;
        WriteRegistration(registry, path, own);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
