#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark {

// The most a file system takes for one part of a path (ext4: 255 bytes; NTFS: 255 UTF-16
// units, never more than as many bytes of UTF-8).
inline constexpr std::size_t kMaxNameBytes = 255;

// "~" and eight hex digits of a stable hash of text: what tells names apart once they are cut.
std::string NameHash(std::string_view text);

// The longest start of text of at most size bytes that does not split a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t size);

// name when it has at most size bytes; else its start cut at a whole character, then NameHash of
// the whole name, then its extension (a last ".xyz" of up to 16 bytes), together at most size
// bytes, so that names which differ only past the cut stay apart and a page stays a page.
std::string ShortName(std::string_view name, std::size_t size);

// Whether shortName is what ShortName made of name for some size.
bool IsShortNameOf(std::string_view shortName, std::string_view name);

} // namespace quillmark
