#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// Procedure kinds.
namespace vbext_pk {
inline constexpr std::int32_t Proc = 0;
inline constexpr std::int32_t Let = 1;
inline constexpr std::int32_t Set = 2;
inline constexpr std::int32_t Get = 3;
} // namespace vbext_pk

// One procedure of a module and the lines its block owns (1-based, inclusive).
struct ProcRecord {
    std::string ProcName; // the index name: property procedures carry "Property Get " and the like in front
    std::int32_t FirstLine = 0;
    std::int32_t LastLine = 0;
    std::int32_t Kind = vbext_pk::Proc;
    bool operator==(const ProcRecord&) const = default;
};

// A module's procedures in module order. A module without procedures has one record with an
// empty name and lines 0, as the window and the converter expect.
using ProcedureIndex = std::vector<ProcRecord>;

// "Property Get Size" for the getter of Size; a sub or function keeps its name.
std::string IndexName(std::string_view name, std::int32_t kind);
// The name as declared, without the kind in front.
std::string_view DeclaredName(const ProcRecord& record);

// The index of a module with these procedures: the placeholder record when there are none.
ProcedureIndex IndexOf(std::vector<ProcRecord> procedures);

} // namespace quillmark
