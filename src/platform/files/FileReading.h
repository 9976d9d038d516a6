#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>

namespace quillmark {

// The whole file, or exists false when there is none.
struct FileText {
    bool exists = false;
    std::string text;
};

// Reads the file at once: a small one in one call, a large one into memory set aside at its
// size. Throws RuntimeError at the file ("cannot open the file: ...", "cannot read the file: ...").
FileText ReadWholeFile(const std::filesystem::path& path);

// Reads a stream of unknown size (standard input) to its end; none when it holds more than
// limit bytes. In pieces, joined once at the end: a text that grew as it was read would be moved
// at every step, and the large blocks it left behind would make the allocator keep the freed
// memory of what follows. Throws RuntimeError ("cannot read the stream: ...").
std::optional<std::string> ReadWholeStream(std::istream& in, std::size_t limit);

} // namespace quillmark
