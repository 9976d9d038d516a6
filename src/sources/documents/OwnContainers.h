#pragma once

#include "sources/documents/Containers.h"
#include "sources/documents/ZipArchive.h"

#include <memory>
#include <string>

namespace quillmark {

// Our own readers of the containers (CompoundFileReader, ZipArchive), over a file or bytes: the
// only ones of the web build, and on Linux the ones the tests compare with libgsf.
CompoundFile OwnCompoundFile(const std::string& path);
CompoundFile OwnCompoundBytes(std::string bytes);
std::unique_ptr<ZipArchive> OwnZipPackage(const std::string& path);

// Which readers open the containers and read their XML parts where there is a choice (Linux):
// libgsf and libxml2 (Platform, the default) or our own. Set before any document is read.
enum class ContainerReaders { Platform, Own };
void UseContainerReaders(ContainerReaders readers);
ContainerReaders ContainerReadersInUse();

} // namespace quillmark
