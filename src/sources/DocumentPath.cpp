#include "sources/DocumentPath.h"

#include "base/AsciiText.h"
#include "base/PathText.h"

#include <algorithm>
#include <array>

namespace quillmark {

namespace {

constexpr std::array<DocumentType, 25> Types{{
    {".xls", true},   {".xla", true},  {".xlt", true},   {".xlsm", true}, {".xlsb", true},
    {".xlam", true},  {".xltm", true}, {".xlsx", false}, {".doc", true},  {".dot", true},
    {".docm", true},  {".dotm", true}, {".docx", false}, {".ppt", false}, {".pot", false},
    {".pps", false},  {".pptm", true}, {".potm", true},  {".ppsm", true}, {".ppam", true},
    {".pptx", false}, {".vsdm", true}, {".vstm", true},  {".vssm", true}, {".bin", true},
}};

constexpr std::array<std::string_view, Types.size()> Extensions = [] {
    std::array<std::string_view, Types.size()> extensions{};
    for (std::size_t i = 0; i < Types.size(); ++i)
        extensions[i] = Types[i].extension;
    return extensions;
}();

} // namespace

std::span<const DocumentType> DocumentTypes()
{
    return Types;
}

std::span<const std::string_view> DocumentExtensions()
{
    return Extensions;
}

bool IsDocumentPath(const std::string& path)
{
    const std::string extension = Utf8FromPath(PathFromUtf8(path).extension());
    return std::any_of(Extensions.begin(), Extensions.end(),
                       [&](std::string_view known) { return SameName(extension, known); });
}

} // namespace quillmark
