#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmark {

// A kind of document that Quillmark opens, by its extension.
struct DocumentType {
    std::string_view extension; // with its dot, in lower case
    // Whether its VBA project is read here: false for the types that never hold one (".xlsx")
    // and for those whose project lies where it cannot be read (PowerPoint 97-2003).
    bool vba;
};

// The one list of document types, for the folder reader, the document reader, the shell
// completions and git's attributes: Office documents and a bare vbaProject.bin.
std::span<const DocumentType> DocumentTypes();

// Their extensions, in the same order.
std::span<const std::string_view> DocumentExtensions();

// True when the path names an Office document or a bare vbaProject.bin (by extension, in any
// case).
bool IsDocumentPath(const std::string& path);

} // namespace quillmark
