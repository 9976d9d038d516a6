#include "addin/RegistrationEntries.h"

#include "addin/AddInIdentity.h"
#include "base/AsciiText.h"
#include "base/RuntimeError.h"
#include "platform/com/CreateObject.h"

#include <algorithm>
#include <unordered_set>

namespace quillmark {
namespace {

constexpr const char* TypeLibVersion = "1.0";
// In the add-in entry: the keys above the entries that registration created, joined by ';'.
constexpr const char* CreatedKeysValue = "CreatedKeys";
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

std::string TypeLibKey(const RegistrationLayout& layout)
{
    return ClassesKey(layout, "TypeLib\\" + LIBID_Quillmark.ToString());
}

// The keys that hold all that registration writes, each with everything below it.
std::vector<std::string> EntryKeys(const RegistrationLayout& layout)
{
    std::vector<std::string> keys;
    for (const ClassEntry& c : Classes) {
        keys.push_back(ClassesKey(layout, "CLSID\\" + c.clsid.ToString()));
        keys.push_back(ClassesKey(layout, c.progid));
        keys.push_back(ClassesKey(layout, "Interface\\" + c.iid.ToString()));
    }
    keys.push_back(TypeLibKey(layout));
    keys.push_back(layout.addInKey);
    return keys;
}

// Key names compare ignoring case, as the registry compares them.
class KeySet {
public:
    bool Add(const std::string& key) { return seen_.insert(LowerAscii(key)).second; }

private:
    std::unordered_set<std::string> seen_;
};

// The keys above the entries, up to but not including the hive's root, which always exists.
std::vector<std::string> KeysAbove(const std::vector<std::string>& entries)
{
    std::vector<std::string> above;
    KeySet seen;
    for (const std::string& entry : entries)
        for (auto cut = entry.rfind('\\'); cut != std::string::npos && cut > 0; cut = entry.rfind('\\', cut - 1)) {
            const std::string key = entry.substr(0, cut);
            if (key.find('\\') != std::string::npos && seen.Add(key))
                above.push_back(key);
        }
    return above;
}

// What a registration of ours remembered in its add-in entry; all add-in entries of this
// library count, for the 32-bit and the 64-bit Office share the keys above their lists.
std::vector<std::string> CreatedKeys(const com::RegistryKeys& registry, const std::string& addInKey)
{
    std::vector<std::string> keys;
    const auto value = registry.GetValue(addInKey, CreatedKeysValue);
    const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
    for (std::size_t start = 0; text && start < text->size();) {
        const auto end = std::min(text->find(';', start), text->size());
        if (end > start)
            keys.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

std::vector<std::string> AddInKeysOfThisLibrary(const RegistrationLayout& layout)
{
    return {layout.addInKey, AddInKey(false), AddInKey(true)};
}

// The type library's file for the layout's platform goes; the library's own keys go once no
// other platform's file is left.
void RemoveTypeLibrary(com::RegistryKeys& registry, const RegistrationLayout& layout)
{
    const std::string typeLib = TypeLibKey(layout);
    const std::string version = typeLib + "\\" + TypeLibVersion;
    registry.DeleteTree(version + "\\0\\" + layout.typeLibPlatform);
    if (registry.SubKeys(version + "\\0").empty())
        registry.DeleteTree(version);
    if (registry.SubKeys(typeLib).empty())
        registry.DeleteTree(typeLib);
}

std::size_t Depth(const std::string& key)
{
    return static_cast<std::size_t>(std::count(key.begin(), key.end(), '\\'));
}

// Whether key is root or lies below it; names compare ignoring case, as the registry compares
// them.
bool Within(const std::string& key, const std::string& root)
{
    return key.size() >= root.size() && (key.size() == root.size() || key[root.size()] == '\\') &&
           LowerAscii(key.substr(0, root.size())) == LowerAscii(root);
}

// Removes the layouts' classes and type library, and with withAddIn their add-in entries; of
// the keys that registration created, only those that belong to what goes (below the layouts'
// classes roots, and the add-in list's only with the entries) are candidates.
void Remove(com::RegistryKeys& registry, std::span<const RegistrationLayout> layouts, bool withAddIn)
{
    const auto goes = [&](const std::string& key) {
        for (const RegistrationLayout& layout : layouts)
            if (Within(key, layout.classesRoot))
                return true;
        return withAddIn && !Within(key, MachineClassesRoot) && !Within(key, UserClassesRoot);
    };
    std::vector<std::string> created;
    std::vector<std::string> removed;
    KeySet seen;
    for (const RegistrationLayout& layout : layouts) {
        for (const std::string& key : CreatedKeys(registry, layout.addInKey))
            if (goes(key) && seen.Add(key))
                created.push_back(key);
        for (const std::string& key : EntryKeys(layout))
            if (withAddIn || key != layout.addInKey)
                removed.push_back(key);
    }
    removed.insert(removed.end(), created.begin(), created.end());
    for (const std::string& key : removed)
        if (!registry.CanDeleteTree(key))
            throw RuntimeError(err::PermissionDenied, "the registry key " + key + " may not be removed by this user");

    for (const RegistrationLayout& layout : layouts) {
        for (const ClassEntry& c : Classes) {
            registry.DeleteTree(ClassesKey(layout, "CLSID\\" + c.clsid.ToString()));
            registry.DeleteTree(ClassesKey(layout, c.progid));
            registry.DeleteTree(ClassesKey(layout, "Interface\\" + c.iid.ToString()));
        }
        RemoveTypeLibrary(registry, layout);
        if (withAddIn)
            registry.DeleteTree(layout.addInKey);
    }
    // Deepest first, so that a key emptied by the one below it goes too.
    std::stable_sort(created.begin(), created.end(),
                     [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    for (const std::string& key : created)
        if (registry.IsEmpty(key))
            registry.DeleteTree(key);
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
    // What earlier registrations of ours created stays ours; what is missing now becomes ours.
    std::vector<std::string> created;
    KeySet seen;
    for (const std::string& addIn : AddInKeysOfThisLibrary(layout))
        for (const std::string& key : CreatedKeys(registry, addIn))
            if (seen.Add(key))
                created.push_back(key);
    for (const std::string& key : KeysAbove(EntryKeys(layout)))
        if (!registry.KeyExists(key) && seen.Add(key))
            created.push_back(key);

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
    if (!created.empty()) {
        std::string joined;
        for (const std::string& key : created)
            joined += (joined.empty() ? "" : ";") + key;
        registry.SetValue(addIn, CreatedKeysValue, joined);
    }
}

void RemoveRegistration(com::RegistryKeys& registry, std::span<const RegistrationLayout> layouts)
{
    Remove(registry, layouts, true);
}

void RemoveScopeRegistration(com::RegistryKeys& registry, const RegistrationLayout& layout,
                             const RegistrationLayout& other)
{
    bool otherHasClasses = false;
    for (const ClassEntry& c : Classes)
        otherHasClasses = otherHasClasses || registry.KeyExists(ClassesKey(other, "CLSID\\" + c.clsid.ToString()));
    Remove(registry, std::span(&layout, 1), !otherHasClasses);
}

void RemoveRegistration(com::RegistryKeys& registry, const RegistrationLayout& layout)
{
    RemoveRegistration(registry, std::span(&layout, 1));
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
