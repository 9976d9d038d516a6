// Zip packages read by our own zip reader over a file shared with Office.

#include "sources/documents/Containers.h"
#include "sources/documents/VbaFormatError.h"
#include "sources/documents/ZipArchive.h"

#include "base/PathText.h"
#include "platform/win32/ReadOnlyFile.h"

namespace quillmark {

std::unique_ptr<ZipPackage> OpenZipPackage(const std::string& path)
{
    const auto file = std::make_shared<win32::ReadOnlyFile>(PathFromUtf8(path));
    return std::make_unique<ZipArchive>(file->Size(), [file](std::uint64_t offset, char* into, std::size_t count) {
        if (file->ReadAt(offset, into, count) != count) {
            throw VbaFormatError("the file ends before byte " + std::to_string(offset + count));
        }
    });
}

} // namespace quillmark
