#include "sources/DocumentPath.h"

#include "base/AsciiText.h"
#include "base/PathText.h"

#include <algorithm>
#include <array>

namespace quillmark {

std::span<const std::string_view> DocumentExtensions()
{
    static constexpr std::array<std::string_view, 25> extensions{
        ".xls",  ".xla",  ".xlt",  ".xlsm", ".xlsb", ".xlam", ".xltm", ".xlsx", ".doc",
        ".dot",  ".docm", ".dotm", ".docx", ".ppt",  ".pot",  ".pps",  ".pptm", ".potm",
        ".ppsm", ".ppam", ".pptx", ".vsdm", ".vstm", ".vssm", ".bin"};
    return extensions;
}

bool IsDocumentPath(const std::string& path)
{
    const std::string extension = Utf8FromPath(PathFromUtf8(path).extension());
    const auto extensions = DocumentExtensions();
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](std::string_view known) { return SameName(extension, known); });
}

} // namespace quillmark
