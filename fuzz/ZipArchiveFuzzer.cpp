// Our zip reader (Windows' and the web edition's reader of Office packages) over any bytes, as
// the document reader uses it: the vbaProject part found through the relationships and content
// types, and every part read within a limit.
#include "FuzzChecks.h"
#include "base/RuntimeError.h"
#include "sources/documents/VbaPackage.h"
#include "sources/documents/ZipArchive.h"

#include <cstring>

using namespace quillmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    try {
        ZipArchive zip(data.size(), [data](std::uint64_t offset, char* into, std::size_t wanted) {
            fuzz::Expect(offset <= data.size() && wanted <= data.size() - offset, "reads stay within the file");
            std::memcpy(into, data.data() + offset, wanted);
        });
        try {
            if (const std::optional<std::string> part = FindVbaProjectPart(zip))
                ReadPackagePart(zip, *part, "the vbaProject.bin part", 1024 * 1024);
        } catch (const RuntimeError&) {
            // damage
        }
        for (const std::string& name : zip.PartNames()) {
            try {
                const std::optional<std::string> part = ReadPackagePart(zip, name, "the part", 1024 * 1024);
                fuzz::Expect(part.has_value(), "a listed part is found by its name");
                fuzz::Expect(part->size() == zip.PartSize(name), "a part is as large as it declares");
            } catch (const RuntimeError&) {
                // damage
            }
        }
    } catch (const RuntimeError&) {
        // no central directory
    }
    return 0;
}
