#include "platform/com/ServerLibrary.h"

#include <filesystem>
#include <map>
#include <memory>

#include <dlfcn.h>

namespace quillmark::com {

void* ServerLibrary::Symbol(const char* name) const
{
    return ::dlsym(handle, name);
}

const ServerLibrary& LoadServerLibrary(const std::string& path)
{
    static std::map<std::string, std::unique_ptr<ServerLibrary>> loaded;
    std::error_code ec;
    const std::string full = std::filesystem::weakly_canonical(path, ec).string();
    const std::string key = ec ? path : full;
    if (const auto it = loaded.find(key); it != loaded.end())
        return *it->second;

    if (!std::filesystem::exists(key, ec))
        throw ServerLibraryError("there is no library " + path);
    void* handle = ::dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        throw ServerLibraryError("cannot load the library " + path + ": " + (why ? why : "no reason given"));
    }
    auto library = std::make_unique<ServerLibrary>();
    library->path = key;
    library->handle = handle;
    library->getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
    library->canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"));
    library->registerServer = reinterpret_cast<DllRegisterServerFn>(::dlsym(handle, "DllRegisterServer"));
    library->unregisterServer = reinterpret_cast<DllUnregisterServerFn>(::dlsym(handle, "DllUnregisterServer"));

    std::string missing;
    for (auto [name, symbol] : {std::pair<const char*, bool>{"DllGetClassObject", library->getClassObject != nullptr},
                                {"DllCanUnloadNow", library->canUnloadNow != nullptr},
                                {"DllRegisterServer", library->registerServer != nullptr},
                                {"DllUnregisterServer", library->unregisterServer != nullptr}})
        if (!symbol)
            missing += std::string(missing.empty() ? "" : ", ") + name;
    if (!missing.empty()) {
        ::dlclose(handle);
        throw ServerLibraryError(path + " is not a component library (it lacks " + missing + ")");
    }
    return *loaded.emplace(key, std::move(library)).first->second;
}

} // namespace quillmark::com
