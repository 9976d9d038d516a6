// The containers read by our own readers alone, where the platform offers none (the web build).

#include "sources/documents/Containers.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/XmlReader.h"

namespace quillmark {

CompoundFile OpenCompoundFile(const std::string& path)
{
    return OwnCompoundFile(path);
}

CompoundFile OpenCompoundBytes(std::string bytes)
{
    return OwnCompoundBytes(std::move(bytes));
}

std::unique_ptr<ZipPackage> OpenZipPackage(const std::string& path)
{
    return OwnZipPackage(path);
}

std::vector<XmlElement> ElementsBelowRoot(const std::string& xml)
{
    return OwnElementsBelowRoot(xml);
}

} // namespace quillmark
