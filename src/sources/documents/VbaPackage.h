#pragma once

#include "sources/documents/Containers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillmark {

// The name of the vbaProject part of an Office zip package: the target of a vbaProject
// relationship of any part (Word, Excel and PowerPoint hang it on their main document, Visio
// on its document part), else a part whose content type is that of a VBA project. Nothing when
// the package has none. Throws VbaFormatError for a relationship to a part the package lacks
// and for oversized relationships or content types.
std::optional<std::string> FindVbaProjectPart(ZipPackage& package);

// The whole part, or nothing when the package has none of that name; what names it in errors.
// Throws VbaFormatError, unread, when it declares more than limit bytes.
std::optional<std::string> ReadPackagePart(ZipPackage& package, const std::string& name, const std::string& what,
                                           std::uint64_t limit);

} // namespace quillmark
