#pragma once

#include <string>

namespace quillmark {

// Replaces path's content with text so that a reader sees either the old file or the new one,
// never a half-written file. Creates missing parent folders. Throws std::runtime_error with
// the path and the system's reason.
void WriteFileAtomically(const std::string& path, const std::string& text);

// The whole file, or exists false when there is none. Throws when it cannot be read.
struct FileText {
    bool exists = false;
    std::string text;
};
FileText ReadWholeFile(const std::string& path);

// $XDG_CONFIG_HOME, or ~/.config when it is unset or empty.
std::string ConfigHome();

} // namespace quillmark
