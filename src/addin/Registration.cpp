#include "addin/Registration.h"

#include "addin/AddInIdentity.h"
#include "addin/RegistrationEntries.h"
#include "base/AsciiText.h"
#include "base/RuntimeError.h"
#include "platform/com/Registry.h"
#include "platform/com/ServerLibrary.h"
#include "platform/ui/MessageBox.h"

#include <filesystem>
#include <iostream>

namespace quillmark {
namespace {

constexpr const char* Title = "Quillmark";

std::string VersionNumbers(const std::uint16_t (&v)[4])
{
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

// Makes sure the registry file can be read before the library is asked to change it, so that
// a damaged file is reported with its place rather than as a bare failure code.
bool RegistryReadable()
{
    try {
        const com::Registry registry;
        return true;
    } catch (const RuntimeError& e) {
        MsgBox(e.Description(), Title);
        return false;
    }
}

int NothingRegistered()
{
    std::cout << "nothing to unregister: Quillmark is not registered for this user (" << com::Registry::DefaultPath()
              << ")\n";
    return 0;
}

} // namespace

std::string AddInLibraryPath()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::current_path() : exe.parent_path()).string() + "/libQuillmark.so";
}

int RegisterAddIn(const std::string& libraryPath)
{
    if (!RegistryReadable())
        return 1;
    try {
        const com::ServerLibrary& library = com::LoadServerLibrary(libraryPath);
        const com::HResult hr = library.registerServer();
        if (com::Failed(hr)) {
            MsgBox("cannot register " + library.path + " (" + com::HResultText(hr) +
                       "); check that the registry file " + com::Registry::DefaultPath() + " can be written",
                   Title);
            return 1;
        }
        std::cout << "registered " << library.path << " for this user (" << com::Registry::DefaultPath() << ")\n";
        return 0;
    } catch (const RuntimeError& e) {
        MsgBox(e.Description() + "; check the path of the built library", Title);
        return 1;
    }
}

int UnregisterAddIn(const std::string& libraryPath)
{
    if (!RegistryReadable())
        return 1;
    std::error_code ec;
    if (!std::filesystem::exists(libraryPath, ec)) {
        if (!HasRegistration(com::Registry()))
            return NothingRegistered();
        try {
            const com::RegistryLock lock(com::Registry::DefaultPath());
            com::Registry registry;
            RemoveRegistration(registry);
            registry.Save();
        } catch (const RuntimeError& e) {
            MsgBox(e.Description(), Title);
            return 1;
        }
        std::cout << "there is no library " << libraryPath << "; removed its registration entries ("
                  << com::Registry::DefaultPath() << ")\n";
        return 0;
    }
    try {
        const com::ServerLibrary& library = com::LoadServerLibrary(libraryPath);
        if (!HasRegistration(com::Registry()))
            return NothingRegistered();
        const com::HResult hr = library.unregisterServer();
        if (com::Failed(hr)) {
            MsgBox("cannot unregister " + library.path + " (" + com::HResultText(hr) + ")", Title);
            return 1;
        }
        std::cout << "unregistered " << library.path << " (" << com::Registry::DefaultPath() << ")\n";
        return 0;
    } catch (const RuntimeError& e) {
        MsgBox(e.Description(), Title);
        return 1;
    }
}

std::string VersionText(const std::string& libraryPath)
{
    const com::ServerLibrary* library = &com::LoadServerLibrary(libraryPath);
    const auto version = reinterpret_cast<QuillmarkVersionInfoFn>(library->Symbol("QuillmarkVersionInfo"));
    const auto typeLibrary = reinterpret_cast<QuillmarkTypeLibraryFn>(library->Symbol("QuillmarkTypeLibrary"));
    if (!version || !typeLibrary)
        throw RuntimeError(err::FileNotFound, library->path + " carries no version information");
    const QuillmarkVersionInfo& v = *version();
    const QuillmarkTypeLibraryInfo& t = *typeLibrary();
    std::string text;
    text += std::string("ProductName: ") + v.productName + "\n";
    text += std::string("ProductVersion: ") + v.productVersionText + " (" + VersionNumbers(v.productVersion) + ")\n";
    text += std::string("FileVersion: ") + v.fileVersionText + " (" + VersionNumbers(v.fileVersion) + ")\n";
    text += std::string("FileDescription: ") + v.fileDescription + "\n";
    text += std::string("InternalName: ") + v.internalName + "\n";
    text += std::string("OriginalFilename: ") + v.originalFilename + "\n";
    text += "Language: " + HexDigits(v.language, 4) + "\n";
    if (v.selfRegister)
        text += "OLESelfRegister\n";
    text += std::string("TypeLibrary: ") + t.name + " " + std::to_string(t.majorVersion) + "." +
            std::to_string(t.minorVersion) + " " + t.libid + " \"" + t.helpString + "\"\n";
    text += "Library: " + library->path + "\n";
    return text;
}

} // namespace quillmark
