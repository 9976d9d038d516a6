#pragma once

#include <filesystem>
#include <string>

namespace quillmark {

// The whole file, or exists false when there is none.
struct FileText {
    bool exists = false;
    std::string text;
};

// Reads the file at once: a small one in one call, a large one into memory set aside at its
// size. Throws std::system_error ("cannot open the file: ...", "cannot read the file: ...");
// the caller names the file.
FileText ReadWholeFile(const std::filesystem::path& path);

} // namespace quillmark
