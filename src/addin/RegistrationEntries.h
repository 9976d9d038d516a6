#pragma once

#include "platform/com/RegistryKeys.h"

#include <span>
#include <string>

namespace quillmark {

// The classes of everyone and of this user, which Windows merges, this user's first.
inline constexpr const char* MachineClassesRoot = "HKEY_LOCAL_MACHINE\\Software\\Classes";
inline constexpr const char* UserClassesRoot = "HKEY_CURRENT_USER\\Software\\Classes";

// Where registration writes: the root of the class entries, the platform under which the type
// library names its file, and the editor's add-in key.
struct RegistrationLayout {
    std::string classesRoot;
    std::string typeLibPlatform;
    std::string addInKey;
};

// The stand-in's layout: classes for this user, the 64-bit Linux library.
RegistrationLayout StandinLayout();

// What registration writes: both classes as in-process servers of the library at libraryPath
// (apartment-threaded, with their programmatic identifiers and interfaces), the type library,
// and the editor's add-in entry for Quillmark.Connect. The entry remembers the keys above the
// entries that registration created, so that removal can take them away again.
void WriteRegistration(com::RegistryKeys& registry, const std::string& libraryPath,
                       const RegistrationLayout& layout = StandinLayout());

// Removes all of it for each layout, or nothing: every key is checked before the first goes,
// and error 70 names one the registry would not let go (a user and the classes that an elevated
// registration wrote for everyone), with nothing removed. Keys that are already gone are
// skipped. The type library stays registered while it still names a file for another
// platform. A key that registration created goes too once it is empty; a key that was there
// before stays.
void RemoveRegistration(com::RegistryKeys& registry, std::span<const RegistrationLayout> layouts);
void RemoveRegistration(com::RegistryKeys& registry, const RegistrationLayout& layout = StandinLayout());

// Removes the registration of one scope alone (one installation of the library, per user or
// for everyone), in the same way: its classes and type library, and the add-in entry, which both
// scopes share, only when other, the same library's layout in the other scope, has no classes
// left for it to load. Nothing of other's is touched, so a user removes a per-user registration
// beside one for everyone.
void RemoveScopeRegistration(com::RegistryKeys& registry, const RegistrationLayout& layout,
                             const RegistrationLayout& other);

// Whether any of what WriteRegistration writes is there.
bool HasRegistration(const com::RegistryKeys& registry, const RegistrationLayout& layout = StandinLayout());

// The add-in entry's key in the editor's add-in list (Addins64 for a 64-bit Office).
std::string AddInKey(bool for64BitOffice = false);

} // namespace quillmark
