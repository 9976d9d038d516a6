// Zip packages read by our own zip reader over a file shared with Office.

#include "platform/editor/documents/Containers.h"
#include "platform/editor/documents/VbaFormatError.h"
#include "platform/editor/documents/ZipArchive.h"

#include "platform/files/PathText.h"
#include "platform/win32/ReadOnlyFile.h"

#include <stdexcept>

namespace quillmark {

std::unique_ptr<ZipPackage> OpenZipPackage(const std::string& path)
{
    std::shared_ptr<win32::ReadOnlyFile> file;
    try {
        file = std::make_shared<win32::ReadOnlyFile>(PathFromUtf8(path));
    } catch (const std::runtime_error& error) {
        throw VbaFormatError(std::string("cannot open the file: ") + error.what());
    }
    const std::uint64_t size = file->Size();
    return std::make_unique<ZipArchive>(size, [file](std::uint64_t offset, char* into, std::size_t count) {
        std::size_t read = 0;
        try {
            read = file->ReadAt(offset, into, count);
        } catch (const std::runtime_error& error) {
            throw VbaFormatError(std::string("cannot read the file: ") + error.what());
        }
        if (read != count) {
            throw VbaFormatError("the file ends before byte " + std::to_string(offset + count));
        }
    });
}

} // namespace quillmark
