#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark {

// Decompressed size at which a module is refused as damaged or hostile.
inline constexpr std::size_t MaxDecompressedSize = 64u * 1024 * 1024;

// Expands a compressed container (signature byte 0x01, then chunks) of the VBA file format.
// Throws VbaFormatError for a damaged container or output beyond limit.
std::string DecompressContainer(std::string_view container, std::size_t limit = MaxDecompressedSize);

// The module source at offset in a module stream. When the container does not start there
// (offsets written by some tools are wrong), the stream is searched for the container whose
// first literals are "Attribut", as every module source begins with its attributes.
std::string DecompressModuleSource(std::string_view stream, std::size_t offset,
                                   std::size_t limit = MaxDecompressedSize);

} // namespace quillmark
