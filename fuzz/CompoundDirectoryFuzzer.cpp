// The platform's compound-file reader behind Containers.h (libgsf, with our reading of its
// directory for the entries it drops) over any bytes, walked through the names a VBA project's
// storages hold: the interface's promises hold on damaged files too.
#include "FuzzChecks.h"
#include "base/RuntimeError.h"
#include "sources/documents/Containers.h"

#include <string>

using namespace quillmark;
using fuzz::Expect;

namespace {

constexpr const char* Names[] = {"_VBA_PROJECT_CUR", "Macros",       "VBA",          "PROJECT",   "dir",
                                 "Module1",          "ThisWorkbook", "_VBA_PROJECT", "PROJECTwm", "EncryptedPackage"};

void Walk(CompoundStorage& storage, const std::string& path, int depth)
{
    for (const char* name : Names) {
        const std::string child = path.empty() ? name : path + "/" + name;
        try {
            const bool listed = storage.Has(name);
            std::unique_ptr<CompoundStorage> folder = storage.Storage(name, child);
            const std::optional<std::string> stream = storage.Stream(name, child);
            Expect(listed == (folder != nullptr || stream.has_value()), "a child is listed when it is there");
            Expect(folder == nullptr || !stream, "a child is a storage or a stream, not both");
            Expect(!stream || stream->size() <= MaxStreamSize, "no stream is larger than the limit");
            if (folder && depth < 3)
                Walk(*folder, child, depth + 1);
        } catch (const RuntimeError&) {
            // a damaged child
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    try {
        CompoundFile file = OpenCompoundBytes(std::string(reinterpret_cast<const char*>(bytes), size));
        Expect(fuzz::IsUtf8(file.damage), "the damage is told in UTF-8");
        Walk(*file.root, "", 0);
    } catch (const RuntimeError&) {
        // not a compound file
    }
    return 0;
}
