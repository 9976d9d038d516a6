#include "sources/documents/OwnContainers.h"

#include "base/PathText.h"
#include "sources/documents/CompoundFileReader.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/ZipArchive.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace quillmark {

namespace {

std::atomic<ContainerReaders> readersInUse{ContainerReaders::Platform};

struct OpenFile {
    std::uint64_t size = 0;
    ReadAt read;
};

OpenFile Open(const std::string& path)
{
    auto in = std::make_shared<std::ifstream>(PathFromUtf8(path), std::ios::binary | std::ios::ate);
    if (!*in) {
        throw VbaFormatError(std::string("cannot open the file: ") + std::strerror(errno));
    }
    const auto size = static_cast<std::uint64_t>(in->tellg());
    return {size, [in](std::uint64_t offset, char* into, std::size_t count) {
                in->clear();
                in->seekg(static_cast<std::streamoff>(offset));
                in->read(into, static_cast<std::streamsize>(count));
                if (static_cast<std::size_t>(in->gcount()) != count) {
                    throw VbaFormatError("the file ends before byte " + std::to_string(offset + count));
                }
            }};
}

} // namespace

CompoundFile OwnCompoundFile(const std::string& path)
{
    OpenFile file = Open(path);
    return ReadCompoundFile(file.size, std::move(file.read), "the file");
}

CompoundFile OwnCompoundBytes(std::string bytes)
{
    auto held = std::make_shared<const std::string>(std::move(bytes));
    return ReadCompoundFile(
        held->size(),
        [held](std::uint64_t offset, char* into, std::size_t count) {
            if (offset > held->size() || count > held->size() - offset) {
                throw VbaFormatError("the part ends before byte " + std::to_string(offset + count));
            }
            std::memcpy(into, held->data() + offset, count);
        },
        "the part");
}

std::unique_ptr<ZipArchive> OwnZipPackage(const std::string& path)
{
    OpenFile file = Open(path);
    return std::make_unique<ZipArchive>(file.size, std::move(file.read));
}

void UseContainerReaders(ContainerReaders readers)
{
    readersInUse = readers;
}

ContainerReaders ContainerReadersInUse()
{
    return readersInUse;
}

} // namespace quillmark
