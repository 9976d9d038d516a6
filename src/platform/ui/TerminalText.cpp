#include "platform/ui/TerminalText.h"

namespace quillmark {
namespace {

// The length of the valid UTF-8 sequence at the start of text (no overlong form, no
// surrogate, nothing above U+10FFFF); 0 when there is none.
std::size_t SequenceLength(std::string_view text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80; // the second byte's range, narrowed to rule out the invalid forms
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

bool IsControl(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    return lead < 0x20 || lead == 0x7F || (lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0);
}

void AppendEscaped(std::string& out, std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
}

} // namespace

std::string TerminalText(std::string_view text, LineBreaks breaks)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        if (breaks == LineBreaks::Kept && (text[0] == '\r' || text[0] == '\n')) {
            out += '\n';
            text.remove_prefix(text.substr(0, 2) == "\r\n" ? 2 : 1);
            continue;
        }
        const std::size_t length = SequenceLength(text);
        const std::string_view sequence = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || IsControl(sequence))
            AppendEscaped(out, sequence);
        else
            out += sequence;
        text.remove_prefix(sequence.size());
    }
    return out;
}

} // namespace quillmark
