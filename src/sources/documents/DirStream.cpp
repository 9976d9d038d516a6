#include "sources/documents/DirStream.h"

#include "base/AsciiText.h"
#include "sources/documents/VbaFormatError.h"

namespace quillmark {

namespace {

enum RecordId : std::uint16_t {
    ProjectCodePage = 0x0003,
    ProjectVersion = 0x0009,
    DirTerminator = 0x0010,
    ModuleName = 0x0019,
    ModuleStreamName = 0x001A,
    ModuleProcedural = 0x0021,
    ModuleNonProcedural = 0x0022,
    ModuleTerminator = 0x002B,
    ModuleOffset = 0x0031,
    ModuleStreamNameUnicode = 0x0032,
    ModuleNameUnicode = 0x0047,
};

std::uint32_t Little(std::string_view data, std::size_t at, std::size_t bytes)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[at + i])) << (8 * i);
    }
    return value;
}

std::string Hex(std::uint16_t id)
{
    return "0x" + HexDigits(id, 4);
}

} // namespace

DirInfo ParseDirStream(std::string_view dir)
{
    DirInfo info;
    DirModule* module = nullptr;
    std::size_t at = 0;
    while (at + 6 <= dir.size()) {
        const std::size_t start = at;
        const auto id = static_cast<std::uint16_t>(Little(dir, at, 2));
        // PROJECTVERSION's size field is a constant 4, yet six bytes of version follow it.
        const std::size_t size = id == ProjectVersion ? 6 : Little(dir, at + 2, 4);
        at += 6;
        if (size > dir.size() - at) {
            throw VbaFormatError("dir stream record " + Hex(id) + " at byte " + std::to_string(start) +
                                 " runs past the end");
        }
        const std::string_view data = dir.substr(at, size);
        at += size;
        if (id == DirTerminator) {
            break;
        }
        if (id == ProjectCodePage && size >= 2) {
            info.codePage = static_cast<std::uint16_t>(Little(data, 0, 2));
        } else if (id == ModuleName) {
            module = &info.modules.emplace_back();
            module->name = data;
        } else if (module == nullptr) {
            continue;
        } else if (id == ModuleNameUnicode) {
            module->nameUnicode = data;
        } else if (id == ModuleStreamName) {
            module->streamName = data;
        } else if (id == ModuleStreamNameUnicode) {
            module->streamNameUnicode = data;
        } else if (id == ModuleOffset && size >= 4) {
            module->textOffset = Little(data, 0, 4);
        } else if (id == ModuleProcedural || id == ModuleNonProcedural) {
            module->procedural = id == ModuleProcedural;
        } else if (id == ModuleTerminator) {
            module = nullptr;
        }
    }
    for (const DirModule& each : info.modules) {
        if (each.name.empty() && each.nameUnicode.empty()) {
            throw VbaFormatError("dir stream names a module with an empty name");
        }
    }
    return info;
}

} // namespace quillmark
