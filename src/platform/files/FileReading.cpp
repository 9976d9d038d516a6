#include "platform/files/FileReading.h"

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "platform/memory/LargeBuffer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace quillmark {

namespace {

// Room after a text that is read whole, so that a reader may pad it without moving it.
constexpr std::size_t TextSlack = 64;

RuntimeError ReadFailure(int error, const std::string& where, const char* step)
{
    return RuntimeError(SystemErrorNumber(error), {where}, std::string(step) + ": " + std::strerror(error));
}

} // namespace

FileText ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0); // unbuffered: reads go straight into chunk
    in.open(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT)
            return {};
        throw ReadFailure(errno, Utf8FromPath(path), "cannot open the file");
    }
    // Read to the end rather than seek for the size: a folder of small files costs fewer calls.
    // A file larger than one chunk is measured once, so that its text is not moved as it grows.
    FileText file{true, {}};
    std::array<char, 64 * 1024> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        if (file.text.empty() && in.gcount() == static_cast<std::streamsize>(chunk.size())) {
            std::error_code ec;
            if (const auto size = std::filesystem::file_size(path, ec); !ec) {
                file.text.reserve(static_cast<std::size_t>(size) + TextSlack);
                AdviseLargeBuffer(file.text.data(), file.text.capacity());
            }
        }
        file.text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw ReadFailure(errno, Utf8FromPath(path), "cannot read the file");
    return file;
}

std::optional<std::string> ReadWholeStream(std::istream& in, std::size_t limit)
{
    constexpr std::size_t PieceSize = 64 * 1024;
    std::vector<std::string> pieces;
    std::size_t total = 0;
    while (in && total <= limit) {
        std::string piece(std::min(PieceSize, limit + 1 - total), '\0');
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        piece.resize(static_cast<std::size_t>(in.gcount()));
        total += piece.size();
        pieces.push_back(std::move(piece));
    }
    if (in.bad())
        throw ReadFailure(errno, {}, "cannot read the stream");
    if (total > limit)
        return std::nullopt;
    std::string text;
    text.reserve(total + TextSlack);
    AdviseLargeBuffer(text.data(), text.capacity());
    for (std::string& piece : pieces) {
        text += piece;
        std::string().swap(piece);
    }
    return text;
}

} // namespace quillmark
