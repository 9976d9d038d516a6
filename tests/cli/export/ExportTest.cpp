// export: modules written as the editor's Export File writes them, read back as they were.
#include "cli/export/Export.h"
#include "cli/Commands.h"
#include "cli/export/ExportFile.h"
#include "sources/TextDecoding.h"

#include "common/FileText.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

const fs::path Office = fs::path(QUILLMARK_SHARED_DIR) / "testdata/office";

// The files below folder by their "/"-separated path, each read as text: decoded from encoding,
// its line ends LF, its trailing blank lines gone (the tool that exported the shared tree drops
// them) and, with the .frx that is never written, the designer's line that points into it.
std::map<std::string, std::string> Tree(const fs::path& folder, const std::string& encoding)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::string text = DecodeToUtf8(testing::ReadFileText(entry.path().string()), encoding);
        std::erase(text, '\r');
        text.erase(text.find_last_not_of('\n') + 1);
        if (const std::size_t blob = text.find("\n   OleObjectBlob "); blob != std::string::npos)
            text.erase(blob, text.find('\n', blob + 1) - blob);
        files[fs::relative(entry.path(), folder).generic_string()] = text;
    }
    return files;
}

int Export(const std::vector<std::string>& paths, const std::string& folder, std::string& messages,
           bool folders = false, const std::string& encoding = {})
{
    ExportOptions options;
    options.paths = paths;
    options.outputFolder = folder;
    options.folders = folders;
    options.encoding = encoding;
    std::ostringstream err;
    const int status = ExportModules(options, err);
    messages = err.str();
    return status;
}

// The shared workbook beside the tree that a VBA tool exported from it: the same files in the
// same folders, the same lines, in the project's code page with CR LF.
TEST(Export, AWorkbookAsItsExportedTreeHasIt)
{
    const fs::path book = Office / "pre-commit-VBA/test.xlsm";
    if (!fs::exists(book))
        GTEST_SKIP() << book << " is absent";
    TempFolder folder("export");
    std::string messages;
    ASSERT_EQ(Export({book.string()}, folder.Path(), messages, true), kDone) << messages;
    EXPECT_NE(messages.find("RegisterProductForm.frx (the controls' binary part) is not written"), std::string::npos)
        << messages;
    const std::string form = testing::ReadFileText(folder.Path() + "/registerForm/RegisterProductForm.frm");
    EXPECT_TRUE(
        form.starts_with("VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} RegisterProductForm\r\n"))
        << form;
    EXPECT_EQ(Tree(folder.Path(), "CP932"), Tree(Office / "pre-commit-VBA/test.xlsm.VBA/code", "UTF-8"));

    TempFolder flat("flat");
    ASSERT_EQ(Export({book.string()}, flat.Path(), messages, false, "utf-8"), kDone) << messages;
    EXPECT_TRUE(fs::exists(flat.Path() + "/TestProductCodeModule.bas"));
    // A locked project beside it is named and left out; the workbook gets a folder of its own.
    TempFolder both("both");
    const fs::path locked = Office / "unlock_excel/xls/Locked_with_macro.xls";
    EXPECT_EQ(Export({book.string(), locked.string()}, both.Path(), messages), kFailed);
    EXPECT_NE(messages.find("Locked_with_macro.xls: the VBA project is locked for viewing"), std::string::npos);
    EXPECT_TRUE(fs::exists(both.Path() + "/test.xlsm/TestProductCodeModule.bas"));
    EXPECT_NE(testing::ReadFileText(flat.Path() + "/Sheet1.cls").find("'@Folder \"excel document modules.シート\"\r\n"),
              std::string::npos);
}

// Exported, then read as a folder, every module converts to the same HTML as in its document.
TEST(Export, ConvertGivesTheSameHtmlFromTheExportedFiles)
{
    for (const char* name : {"pre-commit-VBA/test.xlsm", "calamine/vba.xlsm", "oletools/oleform-PR314.docm",
                             "poi/document/SimpleMacro.doc"}) {
        const fs::path document = Office / name;
        if (!fs::exists(document))
            GTEST_SKIP() << document << " is absent";
        TempFolder folder("round-trip");
        std::string messages;
        ASSERT_EQ(Export({document.string()}, folder.Path(), messages), kDone) << name << ": " << messages;
        std::size_t modules = 0;
        for (const auto& entry : fs::directory_iterator(folder.Path())) {
            const std::string module = entry.path().stem().string();
            std::ostringstream fromDocument, fromFiles, err;
            Options options;
            options.module = module;
            options.links = true;
            options.paths = {document.string()};
            ASSERT_EQ(Convert(options, fromDocument, err), kDone) << err.str();
            options.paths = {folder.Path()};
            ASSERT_EQ(Convert(options, fromFiles, err), kDone) << err.str();
            EXPECT_EQ(fromFiles.str(), fromDocument.str()) << name << ": " << module;
            ++modules;
        }
        EXPECT_GT(modules, 1u) << name;
    }
}

// What the editor writes around a module's own text, by its type.
TEST(Export, HeadersAndAttributesAsTheEditorWritesThem)
{
    const std::string Designer =
        "VERSION 5.00\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Entry \n   Caption = \"E\"\n"
        "   OleObjectBlob   =   \"Entry.frx\":0000\n   TypeInfoVer     =   16\nEnd\n";
    const struct {
        StoredModule module;
        std::string file;
    } cases[] = {
        // A document's class loses the attributes that bind it to its document, no others.
        {{"Sheet1", 100,
          "Attribute VB_Name = \"Sheet1\"\nAttribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"\n"
          "Attribute VB_Exposed = True\nAttribute VB_TemplateDerived = False\nAttribute VB_Customizable = True\n"
          "Sub A()\nAttribute A.VB_Description = \"Base\"\nEnd Sub\n",
          "", ""},
         "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Sheet1\"\r\n"
         "Attribute VB_Exposed = True\r\nSub A()\r\nAttribute A.VB_Description = \"Base\"\r\nEnd Sub\r\n"},
        // A module file without VB_Name gets the one it is known by; every line break is CR LF.
        {{"Tools", 1, "Sub A()\rEnd Sub", "", ""}, "Attribute VB_Name = \"Tools\"\r\nSub A()\r\nEnd Sub\r\n"},
        // A form whose designer text is missing gets the least that the editor imports.
        {{"Entry", 3, "Attribute VB_Name = \"Entry\"\r\n", "", ""},
         "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Entry\r\nEnd\r\nAttribute VB_Name = "
         "\"Entry\"\r\n"},
        // A designer loses its trailing blanks, its count of saves, and its pointer into a binary
        // part that is not written beside it.
        {{"Entry", 3, "", Designer, ""},
         "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Entry\r\n   Caption = \"E\"\r\nEnd\r\n"
         "Attribute VB_Name = \"Entry\"\r\n"},
        {{"Entry", 3, "", Designer, "Entry.frx"},
         "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Entry\r\n   Caption = \"E\"\r\n"
         "   OleObjectBlob   =   \"Entry.frx\":0000\r\nEnd\r\nAttribute VB_Name = \"Entry\"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExportText(c.module), c.file) << c.module.name;
}

TEST(Export, FoldersAsAnnotationsName)
{
    using Folders = std::vector<std::string>;
    const std::pair<std::string, Folders> cases[] = {
        {"'@Folder(\"A.B\")\nOption Explicit", {"A", "B"}},
        {"Option Explicit\n  ' @folder \"Tests..x\"\"y\"", {"Tests", "x\"y"}},
        {"'@Folder", {}},
        {"Sub A()\n'@Folder(\"Late\")\nEnd Sub", {}},
        {"Private Function F()\nEnd Function\n'@Folder(\"Late\")", {}},
    };
    for (const auto& [text, folders] : cases)
        EXPECT_EQ(AnnotatedFolders(text), folders) << text;
}

// Nothing is written over an input, nor in an encoding that lacks a character of the code; what
// is left out is said, and fails the run.
TEST(Export, LeavesOutWhatItCannotWriteAsItIs)
{
    TempFolder folder("inputs");
    const std::string tools = "Attribute VB_Name = \"Tools\"\nSub A()\nEnd Sub\n";
    folder.Write("Tools.bas", tools);
    folder.Write("Names.bas", "Attribute VB_Name = \"Names\"\nConst N = \"Ärger 売上\"\n");
    std::string messages;
    EXPECT_EQ(Export({folder.Path()}, folder.Path(), messages), kUsage);
    EXPECT_EQ(Export({folder.Path() + "/Tools.bas"}, folder.Path(), messages), kFailed);
    EXPECT_NE(messages.find("Tools.bas: it is one of the inputs"), std::string::npos) << messages;
    EXPECT_EQ(testing::ReadFileText(folder.Path() + "/Tools.bas"), tools);

    TempFolder out("out");
    EXPECT_EQ(Export({folder.Path()}, out.Path(), messages, false, "CP1252"), kFailed);
    EXPECT_NE(messages.find("module Names: a character that CP1252 lacks"), std::string::npos) << messages;
    EXPECT_FALSE(fs::exists(out.Path() + "/Names.bas"));
    EXPECT_EQ(testing::ReadFileText(out.Path() + "/Tools.bas"),
              "Attribute VB_Name = \"Tools\"\r\nSub A()\r\nEnd Sub\r\n");
}

// A form's binary part beside its module file is the one that can be written exactly: copied.
TEST(Export, AFormsBinaryPartIsCopiedAsItIs)
{
    TempFolder folder("form");
    const std::string binary("\x00\x01\xFF frx\r\n", 10);
    folder.Write("Entry.frm", "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Entry\r\n"
                              "   OleObjectBlob   =   \"Entry.frx\":0000\r\nEnd\r\nAttribute VB_Name = \"Entry\"\r\n");
    folder.Write("Entry.frx", binary);
    TempFolder out("out");
    std::string messages;
    ASSERT_EQ(Export({folder.Path()}, out.Path(), messages), kDone) << messages;
    EXPECT_EQ(messages, "");
    EXPECT_EQ(testing::ReadFileText(out.Path() + "/Entry.frx"), binary);
    EXPECT_EQ(testing::ReadFileText(out.Path() + "/Entry.frm"), testing::ReadFileText(folder.Path() + "/Entry.frm"));
}

} // namespace
} // namespace quillmark::cli
