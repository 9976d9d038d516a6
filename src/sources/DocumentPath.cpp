#include "sources/DocumentPath.h"

#include "base/PathText.h"
#include "sources/ProcedureTable.h"

#include <algorithm>
#include <array>

namespace quillmark {

bool IsDocumentPath(const std::string& path)
{
    static const std::array<std::string, 25> extensions{".xls",  ".xla",  ".xlt",  ".xlsm", ".xlsb", ".xlam", ".xltm",
                                                        ".xlsx", ".doc",  ".dot",  ".docm", ".dotm", ".docx", ".ppt",
                                                        ".pot",  ".pps",  ".pptm", ".potm", ".ppsm", ".ppam", ".pptx",
                                                        ".vsdm", ".vstm", ".vssm", ".bin"};
    const std::string extension = Utf8FromPath(PathFromUtf8(path).extension());
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::string& known) { return SameName(extension, known); });
}

} // namespace quillmark
