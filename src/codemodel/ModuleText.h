#pragma once

#include "codemodel/LineStarts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// A module's text split into lines once. Lines end at CR LF, LF or a lone CR; no line break
// belongs to a line, and a break at the very end opens no further line.
class ModuleText {
public:
    ModuleText() { starts_.Add(0); }
    explicit ModuleText(std::string text);
    // A text whose lines a reader has already found: every line but the last ends in the line
    // break that comes right before the next one's start.
    ModuleText(std::string text, LineStarts starts);
    static ModuleText FromLines(const std::vector<std::string>& lines);

    std::int32_t Count() const { return static_cast<std::int32_t>(starts_.Count() - 1); }
    // 1-based; empty for a number outside 1..Count.
    std::string_view Line(std::int32_t number) const;
    // Lines first..first+count-1 joined by CR LF, clipped at the module's end; error 5 for a
    // first line below 1 or a negative count.
    std::string Join(std::int32_t first, std::int32_t count) const;

private:
    std::string text_;
    LineStarts starts_; // and last the text's end, where a line would start after the last one
};

} // namespace quillmark
