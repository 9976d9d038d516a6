#include "sources/documents/VbaDecompression.h"

#include "sources/documents/VbaFormatError.h"

#include <algorithm>
#include <cstdint>

namespace quillmark {

namespace {

constexpr std::size_t ChunkCapacity = 4096;

std::uint8_t Byte(std::string_view data, std::size_t at)
{
    return static_cast<std::uint8_t>(data[at]);
}

std::uint16_t Word(std::string_view data, std::size_t at)
{
    return static_cast<std::uint16_t>(Byte(data, at) | (Byte(data, at + 1) << 8));
}

bool OnlyZeros(std::string_view data)
{
    return std::all_of(data.begin(), data.end(), [](char c) { return c == '\0'; });
}

// Copy tokens give more bits to the offset the further the chunk has grown.
unsigned OffsetBits(std::size_t produced)
{
    unsigned bits = 4;
    while ((std::size_t{1} << bits) < produced) {
        ++bits;
    }
    return bits;
}

void ExpandCompressedChunk(std::string_view data, std::size_t chunkStart, std::string& out)
{
    const std::size_t outStart = out.size();
    std::size_t at = 0;
    while (at < data.size()) {
        const std::uint8_t flags = Byte(data, at++);
        for (int bit = 0; bit < 8 && at < data.size(); ++bit) {
            if ((flags & (1u << bit)) == 0) {
                if (out.size() - outStart >= ChunkCapacity) {
                    throw VbaFormatError("compressed chunk at byte " + std::to_string(chunkStart) +
                                         " expands beyond 4096 bytes");
                }
                out.push_back(data[at++]);
                continue;
            }
            if (at + 2 > data.size()) {
                throw VbaFormatError("copy token cut short in the chunk at byte " + std::to_string(chunkStart));
            }
            const std::uint16_t token = Word(data, at);
            at += 2;
            const std::size_t produced = out.size() - outStart;
            const unsigned bits = OffsetBits(produced);
            const std::size_t length = (token & (0xFFFFu >> bits)) + 3;
            const std::size_t offset = (static_cast<std::size_t>(token) >> (16 - bits)) + 1;
            if (offset > produced) {
                throw VbaFormatError("copy token reaches before its chunk at byte " + std::to_string(chunkStart));
            }
            if (produced + length > ChunkCapacity) {
                throw VbaFormatError("compressed chunk at byte " + std::to_string(chunkStart) +
                                     " expands beyond 4096 bytes");
            }
            // Byte by byte: a copy may overlap the bytes it produces.
            for (std::size_t i = 0; i < length; ++i) {
                out.push_back(out[out.size() - offset]);
            }
        }
    }
}

} // namespace

std::string DecompressContainer(std::string_view container, std::size_t limit)
{
    if (container.empty() || Byte(container, 0) != 0x01) {
        throw VbaFormatError("compressed data does not start with its signature byte");
    }
    std::string out;
    std::size_t at = 1;
    while (at < container.size()) {
        // Writers pad the end of a stream with zeros.
        if (container.size() - at < 2 || OnlyZeros(container.substr(at))) {
            break;
        }
        const std::uint16_t header = Word(container, at);
        if (((header >> 12) & 0x7) != 0x3) {
            throw VbaFormatError("bad chunk header at byte " + std::to_string(at));
        }
        const std::size_t chunkSize = (header & 0x0FFFu) + 3;
        const std::size_t end = std::min(at + chunkSize, container.size());
        const std::string_view data = container.substr(at + 2, end - (at + 2));
        if ((header & 0x8000u) != 0) {
            ExpandCompressedChunk(data, at, out);
        } else {
            out.append(data.substr(0, ChunkCapacity));
        }
        if (out.size() > limit) {
            throw VbaTooLargeError("decompresses to more than " + std::to_string(limit / (1024 * 1024)) + " MiB");
        }
        at += chunkSize;
    }
    return out;
}

namespace {

// Container signature, a compressed chunk header, a flag byte of eight literals, "Attribut".
// Returns where the container starts; the next search goes on from there plus one.
std::size_t FindSourceContainer(std::string_view stream, std::size_t from)
{
    static constexpr std::string_view literals("\0Attribut", 9);
    for (std::size_t at = stream.find(literals, from + 3); at != std::string_view::npos;
         at = stream.find(literals, at + 1)) {
        if (Byte(stream, at - 3) == 0x01 && (Byte(stream, at - 1) & 0xF0) == 0xB0) {
            return at - 3;
        }
    }
    return std::string_view::npos;
}

bool StartsLikeSource(const std::string& text)
{
    return text.rfind("Attribute", 0) == 0;
}

} // namespace

std::string DecompressModuleSource(std::string_view stream, std::size_t offset, std::size_t limit)
{
    std::string recorded;
    std::string problem = "module offset " + std::to_string(offset) + " lies beyond the stream's " +
                          std::to_string(stream.size()) + " bytes";
    if (offset < stream.size()) {
        try {
            recorded = DecompressContainer(stream.substr(offset), limit);
            if (StartsLikeSource(recorded)) {
                return recorded;
            }
            problem.clear();
        } catch (const RuntimeError& error) {
            if (IsVbaTooLarge(error))
                throw;
            problem = error.Problem();
        }
    }
    for (std::size_t at = FindSourceContainer(stream, 0); at != std::string_view::npos;
         at = FindSourceContainer(stream, at + 1)) {
        try {
            return DecompressContainer(stream.substr(at), limit);
        } catch (const RuntimeError& error) {
            if (IsVbaTooLarge(error))
                throw;
            // Not the container after all; look further.
        }
    }
    if (!problem.empty()) {
        throw VbaFormatError(problem);
    }
    return recorded;
}

} // namespace quillmark
