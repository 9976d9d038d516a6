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
    // Bytes that may be read past the end of any line, up to which a scan may read a block at a
    // time without a test for the line's end: the text is followed by as many zero bytes.
    static constexpr std::size_t Padding = 32;

    ModuleText()
    {
        starts_.Add(0);
        Pad();
    }
    explicit ModuleText(std::string&& text);
    // A copy of text, made once with room for the padding.
    explicit ModuleText(const std::string& text);
    // A text whose lines a reader has already found: every line but the last ends in the line
    // break that comes right before the next one's start.
    ModuleText(std::string text, LineStarts starts);
    static ModuleText FromLines(const std::vector<std::string>& lines);

    std::int32_t Count() const { return static_cast<std::int32_t>(starts_.Count() - 1); }
    // 1-based; empty for a number outside 1..Count.
    std::string_view Line(std::int32_t number) const
    {
        const auto index = static_cast<std::size_t>(number) - 1;
        if (number < 1 || index + 1 >= starts_.Count())
            return {};
        const auto [start, next] = starts_.StartAndNext(index);
        return {text_.data() + start, next - start - BreakBefore(text_.data(), start, next)};
    }
    // Lines first..first+count-1 joined by CR LF, clipped at the module's end; error 5 for a
    // first line below 1 or a negative count.
    std::string Join(std::int32_t first, std::int32_t count) const;

private:
    // The length of the line break that ends the line from start to the next line's start (or
    // the text's end); a line holds no CR or LF, so its own bytes are never taken for its break.
    static std::size_t BreakBefore(const char* text, std::size_t start, std::size_t next)
    {
        if (next == start)
            return 0;
        const char last = text[next - 1];
        if (last == '\n')
            return next - start >= 2 && text[next - 2] == '\r' ? 2 : 1;
        return last == '\r' ? 1 : 0;
    }

    void Pad();

    std::string text_;  // and the padding
    LineStarts starts_; // and last the text's end, where a line would start after the last one
};

} // namespace quillmark
