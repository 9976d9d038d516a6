#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// A module line of the PROJECT stream: its component type and its name (code-page bytes).
struct ProjectModule {
    std::int32_t type = 1;
    std::string name;
};

struct ProjectInfo {
    std::vector<ProjectModule> modules;
    bool lockedForViewing = false;
};

// Reads the module lines (Module=, Class=, BaseClass=, Document=) and the visibility field (GC)
// of the PROJECT stream: the project is locked for viewing when GC decodes to 0x00; a password
// alone (DPB, CMG) locks nothing. Lines it does not know are ignored. Throws VbaFormatError when
// GC is missing or does not decode to 0x00 or 0xFF, since the lock state is then unknown.
ProjectInfo ParseProjectStream(std::string_view text);

// The data of one of the PROJECT stream's encrypted fields (CMG, DPB, GC), given as the hex
// text between the quotes; nothing when the text is not a well-formed encrypted field.
std::optional<std::string> DecryptProjectField(std::string_view hex);

} // namespace quillmark
