#pragma once

#include "sources/documents/Containers.h"

#include <cstdint>
#include <string>

namespace quillmark {

// An OLE compound file read by our own code from its header, FAT, mini FAT and directory, for
// where neither libgsf nor the system's structured storage is at hand. It keeps libgsf's limits
// and its view of damage: every sector chain is bounded by the file, a stream larger than
// MaxStreamSize is refused, a directory entry whose size exceeds the file is dropped and named
// in the damage, and a stream whose chain is shorter than its size is damaged when read.
// Throws VbaFormatError when the header or the directory cannot be read. holder names the file
// in the damage ("the file", "the part").
CompoundFile ReadCompoundFile(std::uint64_t fileSize, ReadAt read, const std::string& holder);

} // namespace quillmark
