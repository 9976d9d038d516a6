// Our compound-file reader (the web edition's reader of .xls, .doc and vbaProject.bin) over any
// bytes, probed as the document reader probes it: the project storages, the VBA storage and its
// streams, each read within the stream limit.
#include "FuzzChecks.h"
#include "base/RuntimeError.h"
#include "sources/documents/OwnContainers.h"

#include <string>

using namespace quillmark;

namespace {

const char* const Names[] = {"_VBA_PROJECT_CUR", "Macros", "VBA", "dir", "PROJECT", "_VBA_PROJECT", "Module1",
                             "ThisWorkbook", "EncryptedPackage", "PowerPoint Document"};

void Probe(CompoundStorage& storage, int depth)
{
    for (const char* name : Names) {
        try {
            const bool has = storage.Has(name);
            if (const std::optional<std::string> stream = storage.Stream(name, name)) {
                fuzz::Expect(has, "a stream that is read is there");
                fuzz::Expect(stream->size() <= MaxStreamSize, "no stream is larger than the limit");
            }
            if (depth < 3) {
                if (const std::unique_ptr<CompoundStorage> child = storage.Storage(name, name)) {
                    fuzz::Expect(has, "a storage that is opened is there");
                    Probe(*child, depth + 1);
                }
            }
        } catch (const RuntimeError&) {
            // damage
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    try {
        CompoundFile file = OwnCompoundBytes(std::string(reinterpret_cast<const char*>(bytes), size));
        Probe(*file.root, 0);
    } catch (const RuntimeError&) {
        // no readable header or directory
    }
    return 0;
}
