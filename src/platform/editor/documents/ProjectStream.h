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

// Reads the module lines (Module=, Class=, BaseClass=, Document=) and the protection fields of
// the PROJECT stream. Lines it does not know are ignored; it never throws for bad content.
ProjectInfo ParseProjectStream(std::string_view text);

// The data of one of the PROJECT stream's encrypted fields (CMG, DPB, GC), given as the hex
// text between the quotes; nothing when the text is not a well-formed encrypted field.
std::optional<std::string> DecryptProjectField(std::string_view hex);

} // namespace quillmark
