// Our small XML reader against libxml2, which reads the same parts natively.
#include "sources/documents/XmlReader.h"

#include "sources/documents/Containers.h"

#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

std::string Shown(const std::vector<XmlElement>& elements)
{
    std::string shown;
    for (const XmlElement& element : elements) {
        shown += element.name;
        for (const auto& [name, value] : element.attributes) {
            shown += " " + name + "=[" + value + "]";
        }
        shown += "\n";
    }
    return shown;
}

void ExpectSameAsLibxml2(const std::string& xml)
{
    EXPECT_EQ(Shown(OwnElementsBelowRoot(xml)), Shown(ElementsBelowRoot(xml))) << xml;
}

TEST(XmlReader, ReadsWhatLibxml2Reads)
{
    std::string nested;
    for (int i = 0; i < 300; ++i) {
        nested += "<a>";
    }
    for (int i = 0; i < 300; ++i) {
        nested += "</a>";
    }
    const char* cases[] = {
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType='a&amp;b&lt;&#x41;&#66;&quot;&apos;'/></Types>",
        "<r:Relationships xmlns:r=\"urn:x\"><!-- c --><?pi x?><r:Relationship r:Id=\"1\" Target=\"a\tb\r\nc\"/>"
        "text &amp; more<![CDATA[<not/>]]><Deeper><Inside Id=\"2\"/></Deeper></r:Relationships>",
        "<root><a x=\"1\" x=\"2\"/></root>",            // an attribute twice
        "<!DOCTYPE root [<!ENTITY e \"x\">]><root><a/></root>", // a document type
        "<root><a></b></root>",                          // tags that differ
        "<root><a/>",                                    // no end
        "<root/><second/>",                              // two roots
        "<root>&unknown;<a/></root>",                    // an unknown entity
        "<root><a v=\"&#0;\"/></root>",                  // a character XML lacks
        "<root><a v=\"x<y\"/></root>",                   // '<' in a value
        "<root>< a/></root>",
        "<root><rt: a:=\"1\" :b=\"2\"/><x:y:z/><:c/></root>", // names that are no qualified names
        "",
        "<root><a/></root> <!-- after --> ",
    };
    for (const char* xml : cases) {
        ExpectSameAsLibxml2(xml);
    }
    ExpectSameAsLibxml2("<root>" + nested + "<b/></root>");
}

TEST(XmlReader, ReadsEveryXmlPartOfTheSamplePackagesAsLibxml2)
{
    const fs::path samples = fs::path(QUILLMARK_SHARED_DIR) / "testdata" / "office";
    if (!fs::exists(samples)) {
        GTEST_SKIP() << "no sample documents";
    }
    int parts = 0;
    for (const auto& entry : fs::recursive_directory_iterator(samples)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!entry.is_regular_file() || !bytes.str().starts_with("PK")) {
            continue;
        }
        for (const auto& [name, data] : testing::Unzip(bytes.str())) {
            if (name.ends_with(".xml") || name.ends_with(".rels")) {
                ExpectSameAsLibxml2(data);
                ++parts;
            }
        }
    }
    EXPECT_GT(parts, 20);
}

} // namespace
} // namespace quillmark
