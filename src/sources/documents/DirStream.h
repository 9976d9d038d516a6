#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// One module as the dir stream records it. Names are raw bytes: the plain ones in the
// project's code page, the Unicode ones UTF-16LE (empty when the record is absent).
struct DirModule {
    std::string name;
    std::string nameUnicode;
    std::string streamName;
    std::string streamNameUnicode;
    std::uint32_t textOffset = 0;
    bool procedural = true; // a standard module rather than a class, form or document
};

struct DirInfo {
    std::uint16_t codePage = 1252;
    std::vector<DirModule> modules; // in the project's order
};

// Parses a decompressed dir stream. Unknown and optional records are skipped by their size;
// throws VbaFormatError when a record runs past the end or a module lacks its name.
DirInfo ParseDirStream(std::string_view dir);

} // namespace quillmark
