#include "platform/editor/DocumentPath.h"

#include "platform/editor/ProcedureTable.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace quillmark {

bool IsDocumentPath(const std::string& path)
{
    static const std::array<std::string, 25> extensions{".xls",  ".xla",  ".xlt",  ".xlsm", ".xlsb", ".xlam", ".xltm",
                                                        ".xlsx", ".doc",  ".dot",  ".docm", ".dotm", ".docx", ".ppt",
                                                        ".pot",  ".pps",  ".pptm", ".potm", ".ppsm", ".ppam", ".pptx",
                                                        ".vsdm", ".vstm", ".vssm", ".bin"};
    const std::string extension = std::filesystem::path(path).extension().string();
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::string& known) { return SameName(extension, known); });
}

} // namespace quillmark
