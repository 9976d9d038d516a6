// source --all as git's textconv: the VBA of a document as text that diffs line by line.
#include "cli/Commands.h"
#include "cli/Textconv.h"
#include "sources/DocumentPath.h"

#include "sources/documents/VbaProjectWriter.h"

#include "common/Shell.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;
using testing::Shell;
using testing::TempFolder;

testing::WrittenModule Module(const std::string& name, std::int32_t type, const std::string& code)
{
    testing::WrittenModule written;
    written.name = name;
    written.type = type;
    written.source = testing::StoredSource(name, code);
    return written;
}

testing::WrittenProject Book(const std::string& mainCode = "Sub Go()\r\n  Tally.Add 1 ' count\r\nEnd Sub\r\n")
{
    testing::WrittenProject book;
    book.modules = {
        Module("ThisWorkbook", 100, ""),
        Module("Main", 1, mainCode),
        Module("Tally", 2, "Attribute VB_Exposed = False\r\nPublic Sub Add(n)\r\nEnd Sub"),
        Module("Entry", 3, "\r\n\r\nPrivate Sub UserForm_Click()\r\nEnd Sub\r\n"),
    };
    return book;
}

std::string BookBytes(const std::string& mainCode = "Sub Go()\r\n  Tally.Add 1 ' count\r\nEnd Sub\r\n")
{
    const testing::WrittenProject book = Book(mainCode);
    return testing::Package(&book);
}

// The README's example lines (indented) that start with prefix and hold part, indentation taken
// away.
std::vector<std::string> ReadmeLines(const std::string& prefix, const std::string& part)
{
    std::ifstream readme(std::string(QUILLMARK_SOURCE_DIR) + "/README.md");
    std::vector<std::string> lines;
    for (std::string line; std::getline(readme, line);)
        if (line.starts_with("    " + prefix) && line.find(part) != std::string::npos)
            lines.push_back(line.substr(4));
    return lines;
}

// Its .gitattributes lines, and its git config lines of the vba driver.
std::vector<std::string> ReadmeAttributes()
{
    return ReadmeLines("", " diff=vba");
}
std::vector<std::string> ReadmeGitConfig()
{
    return ReadmeLines("git config diff.vba.", "");
}

// Every module under its header, lines ending in LF, in the project's order. Where there is no
// code to show, source --all gives no text (a sound document without a project, or one locked
// for viewing) or fails (damage), and textconv gives one line that says why, and never fails.
TEST(Textconv, EveryModuleUnderItsHeaderAndAMarkerWhereThereIsNoCode)
{
    const std::string code = "' ==== ThisWorkbook (APP) ====\n"
                             "' ==== Main (MOD) ====\nSub Go()\n  Tally.Add 1 ' count\nEnd Sub\n"
                             "' ==== Tally (CLS) ====\nPublic Sub Add(n)\nEnd Sub\n"
                             "' ==== Entry (FRM) ====\n\n\nPrivate Sub UserForm_Click()\nEnd Sub\n";
    testing::WrittenProject locked = Book();
    locked.hiddenForViewing = true;

    TempFolder folder("textconv");
    const struct {
        std::string name;
        std::string bytes;
        int status; // of source --all
        std::string out;
        std::string err; // a part of it; empty: nothing said
        std::string textconv; // without its line break: the start of a marker line, whose reason varies
    } cases[] = {
        {"Book.xlsm", BookBytes(), kDone, code, "", code},
        {"Plain.xlsm", testing::Package(nullptr), kDone, "", "", ""},
        {"Locked.xlsm", testing::Package(&locked), kDone, "", "the VBA project is locked for viewing",
         "' ==== locked for viewing ====\n"},
        {"Damaged.xlsm", "PK\x03\x04 and then nothing of a zip", kFailed, "", "Damaged.xlsm: the zip package is damaged",
         "' ==== damaged: the zip package is damaged: "},
        {"Secret.xlsm", testing::CompoundFile(Book(), {}, {"EncryptedPackage"}), kFailed, "", "is encrypted",
         "' ==== encrypted ====\n"},
    };
    for (const auto& c : cases) {
        Options options;
        options.paths = {folder.Write(c.name, c.bytes)};
        options.all = true;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(Source(options, out, err), c.status) << c.name;
        EXPECT_EQ(out.str(), c.out) << c.name;
        if (c.err.empty())
            EXPECT_EQ(err.str(), "") << c.name;
        else
            EXPECT_NE(err.str().find(c.err), std::string::npos) << c.name << ": " << err.str();
        std::ostringstream textconv;
        EXPECT_EQ(Textconv(options, textconv), kDone) << c.name;
        const std::string text = textconv.str();
        if (c.textconv.empty() || c.textconv.ends_with('\n'))
            EXPECT_EQ(text, c.textconv) << c.name;
        else
            EXPECT_TRUE(text.starts_with(c.textconv) && text.ends_with(" ====\n") &&
                        std::count(text.begin(), text.end(), '\n') == 1)
                << c.name << ": " << text;
    }
    Options missing;
    missing.paths = {folder.Path() + "/Gone.xlsm"};
    std::ostringstream textconv;
    EXPECT_EQ(Textconv(missing, textconv), kDone);
    EXPECT_EQ(textconv.str(), "' ==== unreadable: no such file or folder ====\n");
}

// The .gitattributes that the README gives names every type whose VBA is read, and no other.
TEST(Textconv, ReadmeAttributesNameEveryDocumentTypeWithVba)
{
    std::set<std::string> expected;
    for (const DocumentType& type : DocumentTypes())
        if (type.vba)
            expected.insert(type.extension == ".bin" ? "vbaProject.bin" : "*" + std::string(type.extension));
    std::set<std::string> named;
    for (const std::string& line : ReadmeAttributes())
        named.insert(line.substr(0, line.find(' ')));
    EXPECT_EQ(named, expected);
}

// libgsf prints some damage of a zip member itself; a diff shows only what the command says.
TEST(Textconv, ADamagedPartLeavesNoStrayTextOnStandardError)
{
    testing::WrittenProject book;
    book.modules.resize(1);
    book.modules[0].name = "Main";
    book.modules[0].source = testing::StoredSource("Main", "Sub Go()\r\nEnd Sub\r\n");
    std::string package = testing::Package(&book);
    package.replace(package.find("PK\x03\x04", 4), 4, "PK\x09\x09"); // the second part's local header
    TempFolder folder("textconv-damaged");
    const std::string path = folder.Write("Book.xlsm", package);
    EXPECT_EQ(Shell(std::string(QUILLMARK_BIN) + " source --all '" + path + "' 2>&1 >/dev/null").out, "");
}

// Two workbooks committed under one name: git diff, set up as the README says, shows the VBA
// that changed between them.
TEST(Textconv, GitDiffOfAWorkbookShowsItsVba)
{
    const fs::path office = fs::path(QUILLMARK_SHARED_DIR) / "testdata/office";
    if (!fs::exists(office))
        GTEST_SKIP() << office << " is absent";
    TempFolder folder("git");
    const std::string repository = folder.Path();
    // git run apart from the user's and the system's configuration.
    const std::string git =
        "cd '" + repository + "' && HOME='" + repository + "' GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL=/dev/null git ";
    const std::string steps[] = {
        git + "init -q .",
        git + "config user.name Test",
        git + "config user.email test@example.com",
        git + "config diff.vba.textconv '" + QUILLMARK_BIN + " source --all'",
        "echo '*.xlsm diff=vba' >'" + repository + "/.gitattributes'",
        "cp -f '" + (office / "calamine/vba.xlsm").string() + "' '" + repository + "/Book.xlsm'",
        git + "add .",
        git + "commit -qm first",
        "cp -f '" + (office / "poi/spreadsheet/SimpleMacro.xlsm").string() + "' '" + repository + "/Book.xlsm'",
    };
    for (const std::string& step : steps)
        ASSERT_EQ(Shell(step + " 2>&1").status, 0) << step;

    const testing::ShellResult diff = Shell(git + "diff --no-color 2>&1");
    EXPECT_EQ(diff.status, 0) << diff.out;
    for (const char* line :
         {"\n-' ==== testVBA (MOD) ====\n", "\n-Public Sub test()\n", "\n-    MsgBox \"Hello from vba!\"\n",
          "\n+' ==== Module1 (MOD) ====\n", "\n+Sub TestMacro()\n", "\n+    Range(\"A2\").Select\n",
          "\n ' ==== ThisWorkbook (APP) ====\n"})
        EXPECT_NE(diff.out.find(line), std::string::npos) << line << " in\n" << diff.out;
    EXPECT_EQ(diff.out.find('\r'), std::string::npos) << diff.out;
}

// A repository set up as the README says, word for word: git log -p goes through a history in
// which the workbook was damaged, locked and encrypted for a while, and hunk headers name the
// procedure that changed, or the module when the change lies in its declarations.
TEST(Textconv, GitLogGoesPastWhatCannotBeReadAndNamesProcedures)
{
    TempFolder folder("git-log");
    const std::string repository = folder.Path();
    const std::string git =
        "cd '" + repository + "' && HOME='" + repository + "' GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL=/dev/null git ";
    std::string attributes;
    for (const std::string& line : ReadmeAttributes())
        attributes += line + "\n";
    folder.Write(".gitattributes", attributes);
    std::vector<std::string> steps{git + "init -q .", git + "config user.name Test",
                                   git + "config user.email test@example.com"};
    for (std::string line : ReadmeGitConfig()) {
        if (const std::size_t comment = line.find("    #"); comment != std::string::npos)
            line.erase(comment);
        if (const std::size_t program = line.find("\"quillmark "); program != std::string::npos)
            line.replace(program + 1, std::string("quillmark").size(), QUILLMARK_BIN);
        steps.push_back(git + line.substr(4));
    }
    const std::string second = "Sub Second()\r\n  b = 1\r\n  c = 1\r\n  d = 1\r\n  e = 1\r\nEnd Sub\r\n";
    std::string body; // lines enough for a hunk apart
    for (int i = 0; i < 8; ++i)
        body += "  ' step\r\n";
    std::string changed = second;
    changed.replace(changed.find("e = 1"), 5, "e = 2");
    testing::WrittenProject locked = Book();
    locked.hiddenForViewing = true;
    const std::pair<std::string, std::string> versions[] = {
        {"first", BookBytes(body + "Option Explicit\r\nSub First()\r\n" + body + "End Sub\r\n" + second)},
        {"damaged", "PK\x03\x04 and then nothing of a zip"},
        {"locked", testing::Package(&locked)},
        {"encrypted", testing::CompoundFile(Book(), {}, {"EncryptedPackage"})},
        {"last", BookBytes(body + "Option Base 1\r\nSub First()\r\n" + body + "End Sub\r\n" + changed)},
    };
    for (const std::string& step : steps)
        ASSERT_EQ(Shell(step + " 2>&1").status, 0) << step;
    for (const auto& [message, bytes] : versions) {
        folder.Write("Book.xlsm", bytes);
        ASSERT_EQ(Shell(git + "add . && " + git + "commit -qm " + message + " 2>&1").status, 0) << message;
    }

    const testing::ShellResult log = Shell(git + "log -p --no-color 2>&1");
    EXPECT_EQ(log.status, 0) << log.out;
    for (const char* part : {"    first\n", "\n+' ==== damaged: ", "\n+' ==== locked for viewing ====\n",
                             "\n+' ==== encrypted ====\n", "    last\n"})
        EXPECT_NE(log.out.find(part), std::string::npos) << part << " in\n" << log.out;
    const testing::ShellResult diff = Shell(git + "diff --no-color HEAD~4 HEAD 2>&1");
    for (const char* part : {"@@ ' ==== Main (MOD) ====\n", "@@ Sub Second()\n"})
        EXPECT_NE(diff.out.find(part), std::string::npos) << part << " in\n" << diff.out;
}

} // namespace
} // namespace quillmark::cli
