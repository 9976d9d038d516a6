#pragma once

// Who the add-in library is: its classes and interfaces, its type library, its add-in entry
// and its version information.

#include "platform/com/Guid.h"

#include <cstdint>

namespace quillmark {

inline constexpr com::Guid LIBID_Quillmark = com::MakeGuid("8FBEF8D7-0557-40B2-91F0-E13DD07D77FA");
inline constexpr com::Guid CLSID_Connect = com::MakeGuid("7D00D4C8-FCB8-45EE-8942-206D340DA393");
inline constexpr com::Guid IID_Connect = com::MakeGuid("1783813C-D92C-4206-A0F2-CDE9E7796A2F");
inline constexpr com::Guid CLSID_CMMTimer = com::MakeGuid("26BECAA2-51F9-4847-BA1C-2DB2548CB846");
inline constexpr com::Guid IID_CMMTimer = com::MakeGuid("C4EFC9AA-BE55-4E6E-A10F-199B59D5637C");

inline constexpr const char* ProgIdConnect = "Quillmark.Connect";
inline constexpr const char* ProgIdCMMTimer = "Quillmark.CMMTimer";

// The add-in list of the editor that loads the add-in.
inline constexpr const char* EditorRegistryRoot = "HKEY_CURRENT_USER\\Software\\Microsoft\\VBA\\VBE\\6.0";
inline constexpr const char* AddInDisplayName = "Quillmark";
inline constexpr const char* AddInDescription = "ｿｰｽコードをhtml化します";
inline constexpr std::uint32_t AddInLoadBehavior = 0;

} // namespace quillmark

// What the library tells about itself; read after loading it, without creating any object.
extern "C" {

struct QuillmarkTypeLibraryInfo {
    const char* name;
    const char* libid;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
    const char* helpString;
};

struct QuillmarkVersionInfo {
    std::uint16_t fileVersion[4];
    std::uint16_t productVersion[4];
    const char* fileVersionText;
    const char* productVersionText;
    const char* fileDescription;
    const char* productName;
    const char* internalName;
    const char* originalFilename;
    std::uint16_t language; // 0x0411, Japanese
    bool selfRegister;      // the library registers itself (DllRegisterServer)
};

using QuillmarkTypeLibraryFn = const QuillmarkTypeLibraryInfo* (*)();
using QuillmarkVersionInfoFn = const QuillmarkVersionInfo* (*)();
// A named resource of the library ("_IID_CONNECT", "_IID_CMMTIMER"): a 32-bit length, then the
// interface identifier's 16 bytes. nullptr for an unknown name.
using QuillmarkFindResourceFn = const void* (*)(const char* name, std::uint32_t* size);

} // extern "C"
