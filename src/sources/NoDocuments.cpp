#include "base/RuntimeError.h"
#include "sources/documents/DocumentProject.h"

namespace quillmark {

namespace {

RuntimeError NoDocuments(const std::string& path)
{
    return RuntimeError(err::BadFileFormat, {path},
                        "this build cannot read Office documents; export the modules and open their folder");
}

} // namespace

// Built instead of the document reader when the build leaves it out.
std::shared_ptr<MemoryProject> LoadDocumentProject(const std::string& path)
{
    throw NoDocuments(path);
}

StoredProject LoadStoredDocument(const std::string& path)
{
    throw NoDocuments(path);
}

} // namespace quillmark
