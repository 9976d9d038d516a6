#include "base/RuntimeError.h"
#include "sources/documents/DocumentProject.h"

namespace quillmark {

// Built instead of the document reader when the build leaves it out.
std::shared_ptr<MemoryProject> LoadDocumentProject(const std::string& path)
{
    throw RuntimeError(err::BadFileFormat, {path},
                       "this build cannot read Office documents; export the modules and open their folder");
}

} // namespace quillmark
