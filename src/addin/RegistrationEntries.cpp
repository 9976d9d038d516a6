#include "addin/RegistrationEntries.h"

#include "addin/AddInIdentity.h"
#include "platform/com/CreateObject.h"

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

// The folder part of a Linux or Windows path.
std::string FolderOf(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string ClassesKey(const RegistrationLayout& layout, const std::string& below)
{
    return layout.classesRoot + "\\" + below;
}

} // namespace

RegistrationLayout StandinLayout()
{
    return {com::ClassesRoot, "linux64", AddInKey()};
}

std::string AddInKey(bool for64BitOffice)
{
    return std::string(EditorRegistryRoot) + (for64BitOffice ? "\\Addins64\\" : "\\Addins\\") + ProgIdConnect;
}

void WriteRegistration(com::RegistryKeys& registry, const std::string& libraryPath, const RegistrationLayout& layout)
{
    const std::string libid = LIBID_Quillmark.ToString();
    for (const ClassEntry& c : Classes) {
        const std::string clsidKey = ClassesKey(layout, "CLSID\\" + c.clsid.ToString());
        registry.SetValue(clsidKey, "", c.progid);
        registry.SetValue(clsidKey + "\\InprocServer32", "", libraryPath);
        registry.SetValue(clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment");
        registry.SetValue(clsidKey + "\\ProgID", "", c.progid);
        registry.SetValue(clsidKey + "\\TypeLib", "", libid);
        registry.SetValue(clsidKey + "\\VERSION", "", TypeLibVersion);

        registry.SetValue(ClassesKey(layout, c.progid), "", c.progid);
        registry.SetValue(ClassesKey(layout, std::string(c.progid) + "\\CLSID"), "", c.clsid.ToString());

        const std::string interfaceKey = ClassesKey(layout, "Interface\\" + c.iid.ToString());
        registry.SetValue(interfaceKey, "", c.interfaceName);
        registry.SetValue(interfaceKey + "\\ProxyStubClsid32", "", TypeLibMarshaler);
        registry.SetValue(interfaceKey + "\\TypeLib", "", libid);
        registry.SetValue(interfaceKey + "\\TypeLib", "Version", TypeLibVersion);
    }

    const std::string typeLibKey = ClassesKey(layout, "TypeLib\\" + libid + "\\" + TypeLibVersion);
    registry.SetValue(typeLibKey, "", TypeLibHelpString);
    registry.SetValue(typeLibKey + "\\0\\" + layout.typeLibPlatform, "", libraryPath);
    registry.SetValue(typeLibKey + "\\FLAGS", "", "0");
    registry.SetValue(typeLibKey + "\\HELPDIR", "", FolderOf(libraryPath));

    const std::string& addIn = layout.addInKey;
    registry.SetValue(addIn, "FriendlyName", AddInDisplayName);
    registry.SetValue(addIn, "Description", AddInDescription);
    registry.SetValue(addIn, "LoadBehavior", AddInLoadBehavior);
    registry.SetValue(addIn, "CommandLineSafe", std::uint32_t{0});
}

void RemoveRegistration(com::RegistryKeys& registry, const RegistrationLayout& layout)
{
    for (const ClassEntry& c : Classes) {
        registry.DeleteTree(ClassesKey(layout, "CLSID\\" + c.clsid.ToString()));
        registry.DeleteTree(ClassesKey(layout, c.progid));
        registry.DeleteTree(ClassesKey(layout, "Interface\\" + c.iid.ToString()));
    }
    const std::string typeLib = ClassesKey(layout, "TypeLib\\" + LIBID_Quillmark.ToString());
    const std::string version = typeLib + "\\" + TypeLibVersion;
    registry.DeleteTree(version + "\\0\\" + layout.typeLibPlatform);
    if (registry.SubKeys(version + "\\0").empty())
        registry.DeleteTree(version);
    if (registry.SubKeys(typeLib).empty())
        registry.DeleteTree(typeLib);
    registry.DeleteTree(layout.addInKey);
}

bool HasRegistration(const com::RegistryKeys& registry, const RegistrationLayout& layout)
{
    for (const ClassEntry& c : Classes) {
        for (const std::string& key : {ClassesKey(layout, "CLSID\\" + c.clsid.ToString()), ClassesKey(layout, c.progid),
                                       ClassesKey(layout, "Interface\\" + c.iid.ToString())})
            if (registry.KeyExists(key))
                return true;
    }
    return registry.KeyExists(layout.addInKey) ||
           registry.KeyExists(ClassesKey(layout, "TypeLib\\" + LIBID_Quillmark.ToString()));
}

} // namespace quillmark
