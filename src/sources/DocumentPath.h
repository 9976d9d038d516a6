#pragma once

#include <string>

namespace quillmark {

// True when the path names an Office document or a bare vbaProject.bin (by extension, in any
// case). The one list of document extensions, for the folder reader and the document reader.
bool IsDocumentPath(const std::string& path);

} // namespace quillmark
