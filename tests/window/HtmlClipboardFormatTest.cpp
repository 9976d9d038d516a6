// The offsets of Windows' "HTML Format" count bytes of UTF-8, not characters.
#include "window/HtmlClipboardFormat.h"

#include <gtest/gtest.h>

namespace quillmark::test {
namespace {

TEST(HtmlClipboardFormat, OffsetsSliceTheDocumentAndTheFragmentInBytes)
{
    for (const std::string fragment :
         {"", "<p id=\"A\">x</p>", "<span style=\"color: #008000\">' 注文を集計する</span>\r\n売上 = 0"}) {
        SCOPED_TRACE(fragment);
        const std::string text = HtmlClipboardFormat(fragment);
        const auto offset = [&text](const std::string& name) {
            const std::size_t at = text.find("\r\n" + name + ":") + name.size() + 3;
            return static_cast<std::size_t>(std::stoul(text.substr(at, text.find("\r\n", at) - at)));
        };
        EXPECT_TRUE(text.starts_with("Version:0.9\r\nStartHTML:"));
        const std::size_t start = offset("StartFragment");
        const std::size_t end = offset("EndFragment");
        EXPECT_EQ(text.substr(start, end - start), fragment);
        EXPECT_TRUE(text.substr(0, start).ends_with("<!--StartFragment-->"));
        EXPECT_TRUE(text.substr(end).starts_with("<!--EndFragment-->"));
        EXPECT_EQ(text.substr(offset("StartHTML"), 6), "<html>");
        EXPECT_EQ(offset("EndHTML"), text.size());
        EXPECT_TRUE(text.ends_with("</html>"));
    }
}

} // namespace
} // namespace quillmark::test
