#include "addin/RegistrationEntries.h"

#include "addin/AddInIdentity.h"
#include "platform/com/CreateObject.h"

#include <filesystem>

namespace quillmark {
namespace {

constexpr const char* TypeLibVersion = "1.0";
constexpr const char* TypeLibHelpString = "OfficeVBAｿｰｽｺｰﾄﾞhtml変換";
// The marshaller of dual interfaces, which reads them from the type library.
constexpr const char* TypeLibMarshaler = "{00020424-0000-0000-C000-000000000046}";

struct ClassEntry {
    const char* progid;
    com::Guid clsid;
    com::Guid iid;
    const char* interfaceName;
};

constexpr ClassEntry Classes[] = {
    {ProgIdConnect, CLSID_Connect, IID_Connect, "_Connect"},
    {ProgIdCMMTimer, CLSID_CMMTimer, IID_CMMTimer, "_CMMTimer"},
};

std::string classesKey(const std::string& below)
{
    return std::string(com::ClassesRoot) + "\\" + below;
}

} // namespace

std::string AddInKey()
{
    return std::string(EditorRegistryRoot) + "\\Addins\\" + ProgIdConnect;
}

void WriteRegistration(com::Registry& registry, const std::string& libraryPath)
{
    const std::string libid = LIBID_Quillmark.ToString();
    for (const ClassEntry& c : Classes) {
        const std::string clsidKey = classesKey("CLSID\\" + c.clsid.ToString());
        registry.SetValue(clsidKey, "", c.progid);
        registry.SetValue(clsidKey + "\\InprocServer32", "", libraryPath);
        registry.SetValue(clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment");
        registry.SetValue(clsidKey + "\\ProgID", "", c.progid);
        registry.SetValue(clsidKey + "\\TypeLib", "", libid);
        registry.SetValue(clsidKey + "\\VERSION", "", TypeLibVersion);

        registry.SetValue(classesKey(c.progid), "", c.progid);
        registry.SetValue(classesKey(std::string(c.progid) + "\\CLSID"), "", c.clsid.ToString());

        const std::string interfaceKey = classesKey("Interface\\" + c.iid.ToString());
        registry.SetValue(interfaceKey, "", c.interfaceName);
        registry.SetValue(interfaceKey + "\\ProxyStubClsid32", "", TypeLibMarshaler);
        registry.SetValue(interfaceKey + "\\TypeLib", "", libid);
        registry.SetValue(interfaceKey + "\\TypeLib", "Version", TypeLibVersion);
    }

    const std::string typeLibKey = classesKey("TypeLib\\" + libid + "\\" + TypeLibVersion);
    registry.SetValue(typeLibKey, "", TypeLibHelpString);
    registry.SetValue(typeLibKey + "\\0\\linux64", "", libraryPath);
    registry.SetValue(typeLibKey + "\\FLAGS", "", "0");
    registry.SetValue(typeLibKey + "\\HELPDIR", "", std::filesystem::path(libraryPath).parent_path().string());

    const std::string addIn = AddInKey();
    registry.SetValue(addIn, "FriendlyName", AddInDisplayName);
    registry.SetValue(addIn, "Description", AddInDescription);
    registry.SetValue(addIn, "LoadBehavior", AddInLoadBehavior);
    registry.SetValue(addIn, "CommandLineSafe", std::uint32_t{0});
}

void RemoveRegistration(com::Registry& registry)
{
    for (const ClassEntry& c : Classes) {
        registry.DeleteTree(classesKey("CLSID\\" + c.clsid.ToString()));
        registry.DeleteTree(classesKey(c.progid));
        registry.DeleteTree(classesKey("Interface\\" + c.iid.ToString()));
    }
    const std::string typeLib = classesKey("TypeLib\\" + LIBID_Quillmark.ToString());
    registry.DeleteTree(typeLib + "\\" + TypeLibVersion);
    if (registry.SubKeys(typeLib).empty())
        registry.DeleteTree(typeLib);
    registry.DeleteTree(AddInKey());
}

} // namespace quillmark
