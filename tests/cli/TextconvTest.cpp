// source --all as git's textconv: the VBA of a document as text that diffs line by line.
#include "cli/Commands.h"

#include "sources/documents/VbaProjectWriter.h"

#include "common/Shell.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;
using testing::Shell;
using testing::TempFolder;

// Every module under its header, lines ending in LF, in the project's order; a sound document
// without a project, or with one locked for viewing, gives no text and no failure, so that git
// diff goes on; a damaged one fails.
TEST(Textconv, EveryModuleUnderItsHeaderAndNothingWhereThereIsNoCode)
{
    const auto module = [](const std::string& name, std::int32_t type, const std::string& code) {
        testing::WrittenModule written;
        written.name = name;
        written.type = type;
        written.source = testing::StoredSource(name, code);
        return written;
    };
    testing::WrittenProject book;
    book.modules = {
        module("ThisWorkbook", 100, ""),
        module("Main", 1, "Sub Go()\r\n  Tally.Add 1 ' count\r\nEnd Sub\r\n"),
        module("Tally", 2, "Attribute VB_Exposed = False\r\nPublic Sub Add(n)\r\nEnd Sub"),
        module("Entry", 3, "\r\n\r\nPrivate Sub UserForm_Click()\r\nEnd Sub\r\n"),
    };
    testing::WrittenProject locked = book;
    locked.hiddenForViewing = true;

    TempFolder folder("textconv");
    const struct {
        std::string name;
        std::string bytes;
        int status;
        std::string out;
        std::string err; // a part of it; empty: nothing said
    } cases[] = {
        {"Book.xlsm", testing::Package(&book), kDone,
         "' ==== ThisWorkbook (APP) ====\n"
         "' ==== Main (MOD) ====\nSub Go()\n  Tally.Add 1 ' count\nEnd Sub\n"
         "' ==== Tally (CLS) ====\nPublic Sub Add(n)\nEnd Sub\n"
         "' ==== Entry (FRM) ====\n\n\nPrivate Sub UserForm_Click()\nEnd Sub\n",
         ""},
        {"Plain.xlsm", testing::Package(nullptr), kDone, "", ""},
        {"Locked.xlsm", testing::Package(&locked), kDone, "", "the VBA project is locked for viewing"},
        {"Damaged.xlsm", "PK\x03\x04 and then nothing of a zip", kFailed, "",
         "Damaged.xlsm: the zip package is damaged"},
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
    }
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

} // namespace
} // namespace quillmark::cli
