// Office documents as the commands open them: the container told by its signature, compound
// files through the platform's reader (libgsf here, with our check of its directory), zip
// packages, then the VBA project's streams and the modules' text. The bytes are handed over as
// a file in memory, so that the path a user gives is the path fuzzed.
#include "FuzzChecks.h"
#include "base/RuntimeError.h"
#include "sources/documents/DocumentProject.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>

using namespace quillmark;
using fuzz::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const int file = memfd_create("document", 0);
    Expect(file >= 0, "a file in memory can be made");
    for (std::size_t written = 0; written < size;) {
        const ssize_t n = write(file, bytes + written, size - written);
        Expect(n > 0, "the file in memory takes the bytes");
        written += static_cast<std::size_t>(n);
    }
    try {
        const std::shared_ptr<MemoryProject> project = LoadDocumentProject("/proc/self/fd/" + std::to_string(file));
        for (const std::shared_ptr<MemoryComponent>& component : project->Components()->All()) {
            Expect(fuzz::IsUtf8(component->Name()) && !fuzz::HasControls(component->Name(), ""),
                   "a module's name is one line of UTF-8");
            const ModuleText& text = component->Module()->Text();
            for (std::int32_t line = 1; line <= text.Count(); ++line)
                Expect(fuzz::IsUtf8(text.Line(line)) && !fuzz::HasControls(text.Line(line), "\t"),
                       "a module's lines are UTF-8 without control characters");
        }
    } catch (const RuntimeError&) {
        // damaged, or no VBA project
    }
    close(file);
    return 0;
}
