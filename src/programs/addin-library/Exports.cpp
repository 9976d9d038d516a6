// The entry points of libQuillmark.so: self-registration, the class factories and the
// library's identity. Nothing else leaves the library; it keeps its own copy of the engine's
// shared state, which Connect fills for the window it shows.

#include "addin/AddInIdentity.h"
#include "addin/Connect.h"
#include "addin/RegistrationEntries.h"
#include "addin/TimerObject.h"
#include "addin/VersionResource.h"
#include "platform/com/ComObject.h"
#include "platform/com/Registry.h"
#include "platform/ui/MessageBox.h"
#include "window/qt/GuiMessageBox.h"

#include <QApplication>

#include <array>
#include <cstring>
#include <filesystem>

#include <dlfcn.h>

#define QUILLMARK_EXPORT extern "C" __attribute__((visibility("default")))

namespace quillmark {
namespace {

// Dialogs inside an application with a window system, standard error elsewhere (a console
// client driving the timer, `quillmark register`).
class LibraryMessageBox final : public MessageBox {
public:
    LibraryMessageBox() { SetMessageBox(this); }
    void Show(const std::string& text, const std::string& title) override
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            gui_.Show(text, title);
        else
            console_.Show(text, title);
    }

private:
    GuiMessageBox gui_;
    ConsoleMessageBox console_;
};

LibraryMessageBox messageBox;

const QuillmarkVersionInfo versionInfo = {
    .fileVersion = {QUILLMARK_VERSION_NUMBERS},
    .productVersion = {QUILLMARK_VERSION_NUMBERS},
    .fileVersionText = QUILLMARK_VERSION_TEXT,
    .productVersionText = QUILLMARK_VERSION_TEXT,
    .fileDescription = QUILLMARK_FILE_DESCRIPTION,
    .productName = QUILLMARK_PRODUCT_NAME,
    .internalName = QUILLMARK_PRODUCT_NAME,
    .originalFilename = QUILLMARK_ORIGINAL_FILENAME,
    .language = QUILLMARK_LANGUAGE,
    .selfRegister = true,
};

const std::string libid = LIBID_Quillmark.ToString();
const QuillmarkTypeLibraryInfo typeLibrary = {"Quillmark", libid.c_str(), 1, 0, "OfficeVBAｿｰｽｺｰﾄﾞhtml変換"};

struct InterfaceResource {
    std::uint32_t length;
    com::Guid iid;
};
const InterfaceResource iidConnect = {sizeof(com::Guid), IID_Connect};
const InterfaceResource iidCMMTimer = {sizeof(com::Guid), IID_CMMTimer};
static_assert(sizeof(com::Guid) == 16);

// This library's file, as the loader found it.
std::string LibraryPath()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&LibraryPath), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const auto full = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : full.string();
}

template <class Change>
com::HResult ChangeRegistry(Change change)
{
    try {
        const com::RegistryLock lock(com::Registry::DefaultPath());
        com::Registry registry;
        change(registry);
        registry.Save();
        return com::S_OK;
    } catch (...) {
        return com::SELFREG_E_CLASS;
    }
}

} // namespace
} // namespace quillmark

using namespace quillmark;

QUILLMARK_EXPORT com::HResult DllGetClassObject(const com::Guid* clsid, const com::Guid* iid, void** object)
{
    if (!clsid || !iid || !object)
        return com::E_POINTER;
    static const std::array classes{com::Served<com::StandinRuntime, Connect>(CLSID_Connect),
                                    com::Served<com::StandinRuntime, TimerObject>(CLSID_CMMTimer)};
    return com::GetClassObject(classes, *clsid, *iid, object);
}

QUILLMARK_EXPORT com::HResult DllCanUnloadNow()
{
    return com::CanUnloadNow<com::StandinRuntime>();
}

QUILLMARK_EXPORT com::HResult DllRegisterServer()
{
    const std::string path = LibraryPath();
    if (path.empty())
        return com::E_UNEXPECTED;
    return ChangeRegistry([&](com::Registry& registry) { WriteRegistration(registry, path); });
}

QUILLMARK_EXPORT com::HResult DllUnregisterServer()
{
    return ChangeRegistry([](com::Registry& registry) { RemoveRegistration(registry); });
}

QUILLMARK_EXPORT const QuillmarkVersionInfo* QuillmarkVersionInfo()
{
    return &versionInfo;
}

QUILLMARK_EXPORT const QuillmarkTypeLibraryInfo* QuillmarkTypeLibrary()
{
    return &typeLibrary;
}

QUILLMARK_EXPORT const void* QuillmarkFindResource(const char* name, std::uint32_t* size)
{
    const InterfaceResource* found = nullptr;
    if (name && std::strcmp(name, "_IID_CONNECT") == 0)
        found = &iidConnect;
    else if (name && std::strcmp(name, "_IID_CMMTIMER") == 0)
        found = &iidCMMTimer;
    if (found && size)
        *size = sizeof(InterfaceResource);
    return found;
}
