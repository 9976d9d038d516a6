#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// A module's text split into lines once. Lines end at CR LF, LF or a lone CR; no line break
// belongs to a line, and a break at the very end opens no further line.
class ModuleText {
public:
    ModuleText() = default;
    explicit ModuleText(std::string text);
    static ModuleText FromLines(const std::vector<std::string>& lines);

    std::int32_t Count() const { return static_cast<std::int32_t>(starts_.size()); }
    // 1-based; empty for a number outside 1..Count.
    std::string_view Line(std::int32_t number) const;
    // Lines first..first+count-1 joined by CR LF, clipped at the module's end; error 5 for a
    // first line below 1 or a negative count.
    std::string Join(std::int32_t first, std::int32_t count) const;

private:
    std::string text_;
    std::vector<std::size_t> starts_;
    std::vector<std::size_t> ends_;
};

} // namespace quillmark
