#pragma once

#include "platform/editor/documents/GsfSupport.h"

namespace quillmark {

// The vbaProject part of an Office zip package: the target of a vbaProject relationship of
// any part (Word, Excel and PowerPoint hang it on their main document, Visio on its document
// part), else a part whose content type is that of a VBA project. Nothing when the package
// has none. Throws VbaFormatError for a relationship to a part the package lacks and for
// oversized relationships or content types.
GPtr<GsfInput> FindVbaProjectPart(GsfInfile* package);

} // namespace quillmark
