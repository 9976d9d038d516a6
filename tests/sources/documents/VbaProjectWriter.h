#pragma once

// Builds VBA projects the way Office stores them, so that the document reader can be tested
// without an office suite.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmark::testing {

// Compressed container: copy tokens for repeats found nearby (literals only when copies is
// false); a chunk that would not shrink is stored uncompressed.
std::string Compress(std::string_view data, bool copies = true);
// Compressed container made of uncompressed chunks (the last one padded with zeros).
std::string CompressRaw(std::string_view data);

// The encrypted form of a PROJECT stream field (CMG, DPB, GC) holding data, as hex text.
std::string EncryptProjectField(std::string_view data, std::uint8_t seed = 0x3D);

struct WrittenModule {
    std::string name;                            // code-page bytes
    std::int32_t type = 1;                       // 1 Module=, 2 Class=, 3 BaseClass=, 100 Document=
    std::string source;                          // the stored source, Attribute lines included, code-page bytes
    std::string cache = std::string(37, '\x55'); // what stands before the source in the stream
    std::int64_t offsetError = 0;                // added to the recorded text offset
    bool rawChunks = false;                      // uncompressed chunks instead of literal ones
    std::string unicodeName;                     // UTF-16LE name record; empty: none written
    std::string streamName;                      // UTF-8 name of its stream; empty: the Unicode name, else the name
};

struct WrittenProject {
    std::uint16_t codePage = 1252;
    std::vector<WrittenModule> modules;
    bool hiddenForViewing = false;     // GC decodes to 0x00
    std::uint32_t protectionState = 0; // CMG value
    bool optionalRecords = true;       // PROJECTCOMPATVERSION, docstrings, help context
};

// Module text with its VB_Name attribute in front, as the editor stores it.
std::string StoredSource(const std::string& name, const std::string& code);

std::string DirStream(const WrittenProject& project); // decompressed
std::string ProjectStream(const WrittenProject& project);

// A compound file with the project in storage (empty: at the root, as in vbaProject.bin;
// "_VBA_PROJECT_CUR" as in .xls; "Macros" as in .doc). Extra streams go at the root.
std::string CompoundFile(const WrittenProject& project, const std::string& storage = {},
                         const std::vector<std::string>& rootStreams = {});
// Where a compound file's directory holds the entry of this (ASCII-named) stream or storage;
// the name is UTF-16 at its start, the stream size at 0x78. Throws when there is none.
std::size_t DirectoryEntry(const std::string& compoundFile, const std::string& name);

// An .xlsm-like zip package; without a project the main part has no VBA relationship.
std::string Package(const WrittenProject* project);

// A zip package's parts by path ("xl/vbaProject.bin"), in order.
using ZipParts = std::vector<std::pair<std::string, std::string>>;
std::string Zip(const ZipParts& parts);
ZipParts Unzip(const std::string& zip);

void WriteFile(const std::string& path, std::string_view bytes);

} // namespace quillmark::testing
