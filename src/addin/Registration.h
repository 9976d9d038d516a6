#pragma once

#include <string>

namespace quillmark {

// The add-in library beside the running program: <folder of the executable>/libQuillmark.so.
std::string AddInLibraryPath();

// `quillmark register`: loads the library and runs its DllRegisterServer. Reports what went
// wrong through MsgBox (title "Quillmark") and returns the exit status: 0 done, 1 failed.
int RegisterAddIn(const std::string& libraryPath);

// `quillmark unregister`: runs the library's DllUnregisterServer; when the library is gone,
// removes the entries it would have removed. Same reporting as RegisterAddIn.
int UnregisterAddIn(const std::string& libraryPath);

// `quillmark --version`: the version information and the type library of the library, one
// "Field: value" a line. Throws RuntimeError when the library cannot be read.
std::string VersionText(const std::string& libraryPath);

} // namespace quillmark
