#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmark {

// The one list of document extensions, for the folder reader, the document reader and the
// shell completions: Office documents and a bare vbaProject.bin, with their dot, in lower case.
std::span<const std::string_view> DocumentExtensions();

// True when the path names an Office document or a bare vbaProject.bin (by extension, in any
// case).
bool IsDocumentPath(const std::string& path);

} // namespace quillmark
