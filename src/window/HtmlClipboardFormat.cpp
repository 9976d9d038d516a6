#include "window/HtmlClipboardFormat.h"

#include <cstdio>

namespace quillmark {
namespace {

constexpr std::string_view kBefore = "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n<body>\r\n"
                                     "<!--StartFragment-->";
constexpr std::string_view kAfter = "<!--EndFragment-->\r\n</body>\r\n</html>";

// Offsets of ten digits each, so that the header's length does not depend on them.
std::string Header(std::size_t startHtml, std::size_t endHtml, std::size_t startFragment, std::size_t endFragment)
{
    char header[128];
    std::snprintf(header, sizeof header,
                  "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                  startHtml, endHtml, startFragment, endFragment);
    return header;
}

} // namespace

std::string HtmlClipboardFormat(std::string_view fragment)
{
    const std::size_t startHtml = Header(0, 0, 0, 0).size();
    const std::size_t startFragment = startHtml + kBefore.size();
    const std::size_t endFragment = startFragment + fragment.size();
    std::string text = Header(startHtml, endFragment + kAfter.size(), startFragment, endFragment);
    text += kBefore;
    text += fragment;
    text += kAfter;
    return text;
}

} // namespace quillmark
