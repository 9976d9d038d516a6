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
    // Where one line lies in the text, its break not included.
    struct LineSpan {
        std::size_t start;
        std::size_t end;
    };

    ModuleText() = default;
    explicit ModuleText(std::string text);
    // A text whose lines a reader has already found, in order.
    ModuleText(std::string text, std::vector<LineSpan> lines) : text_(std::move(text)), lines_(std::move(lines)) {}
    static ModuleText FromLines(const std::vector<std::string>& lines);

    std::int32_t Count() const { return static_cast<std::int32_t>(lines_.size()); }
    // 1-based; empty for a number outside 1..Count.
    std::string_view Line(std::int32_t number) const;
    // Lines first..first+count-1 joined by CR LF, clipped at the module's end; error 5 for a
    // first line below 1 or a negative count.
    std::string Join(std::int32_t first, std::int32_t count) const;

private:
    std::string text_;
    std::vector<LineSpan> lines_;
};

} // namespace quillmark
