// The entry points of Quillmark.dll: the class factories, unloading and self-registration.
// Registration writes below HKEY_LOCAL_MACHINE when this process may (an elevated regsvr32),
// otherwise for this user only.

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

constexpr const char* MachineClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";
constexpr const char* UserClasses = "HKEY_CURRENT_USER\\Software\\Classes";
// A 64-bit library serves the 64-bit Office, whose editor keeps its own add-in list.
constexpr bool For64BitOffice = sizeof(void*) == 8;

RegistrationLayout LayoutBelow(const char* classesRoot)
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
        const char* root = registry.CanWriteBelow(MachineClasses) ? MachineClasses : UserClasses;
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
        std::vector<quillmark::RegistrationLayout> layouts{LayoutBelow(UserClasses)};
        if (HasRegistration(registry, LayoutBelow(MachineClasses)))
            layouts.push_back(LayoutBelow(MachineClasses));
        quillmark::RemoveRegistration(registry, layouts);
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}
