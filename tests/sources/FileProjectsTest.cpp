#include "sources/FileProjects.h"
#include "sources/ModuleFiles.h"

#include "base/RuntimeError.h"
#include "sources/DocumentPath.h"
#include "sources/StoredProject.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

using testing::TempFolder;

std::string TextOf(const std::shared_ptr<VBComponent>& component)
{
    auto module = component->CodeModule();
    return module->Lines(1, module->CountOfLines());
}

RuntimeError FailureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RuntimeError& e) {
        return e;
    }
    return RuntimeError(0, "no error");
}

std::string ProblemOf(const std::function<void()>& call)
{
    return FailureOf(call).what();
}

TEST(OpenProject, FolderOfModulesInNameOrder)
{
    TempFolder dir;
    dir.Write("b_Sheet.cls",
              "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n"
              "Attribute VB_Name = \"Sheet1\"\nAttribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"\n"
              "Option Explicit\n");
    dir.Write("A.bas", "Attribute VB_Name = \"Main\"\r\nSub Go()\r\nEnd Sub\r\n");
    dir.Write("c.frm",
              "VERSION 5.00\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} UserForm1\n"
              "   Caption = \"x\"\nEnd\nAttribute VB_Name = \"UserForm1\"\nPrivate Sub UserForm_Click()\nEnd Sub\n");
    dir.Write("notes.txt", "not a module");
    dir.Write("sub/Inner.bas", "Sub Hidden()\nEnd Sub\n");

    auto project = OpenProject(dir.Path() + "/");
    EXPECT_EQ(project->FileName(), dir.Path());
    auto components = project->VBComponents();
    ASSERT_EQ(components->Count(), 3);
    EXPECT_EQ(components->Item(1)->Name(), "Main");
    EXPECT_EQ(components->Item(1)->Type(), 1);
    EXPECT_EQ(components->Item(2)->Name(), "Sheet1");
    EXPECT_EQ(components->Item(2)->Type(), 100);
    EXPECT_EQ(components->Item(3)->Name(), "UserForm1");
    EXPECT_EQ(components->Item(3)->Type(), 3);
    EXPECT_EQ(TextOf(components->Item("main")), "Sub Go()\r\nEnd Sub");
    EXPECT_EQ(TextOf(components->Item("userform1")), "Private Sub UserForm_Click()\r\nEnd Sub");
}

// A module without VB_Name is named by its file, whose name may be any bytes: the name is text.
TEST(OpenProject, FileNamesThatAreNoTextGiveTextNames)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb.bas", "a\xEF\xBF\xBD"
                     "b"},
        {"\x1B[31m.bas", "\xEF\xBF\xBD[31m"},
        {"caf\xE9.bas", "caf\xC3\xA9"},
        {"\x95\x5C.bas", "\xE8\xA1\xA8"},
    };
    for (const auto& [file, name] : cases) {
        TempFolder dir;
        const std::string path = dir.Write(file, "Sub A()\nEnd Sub\n");
        EXPECT_EQ(OpenProject(path)->VBComponents()->Item(1)->Name(), name) << file;
    }
}

// A byte-order mark in front of a dot hides a folder too: decoded, the name starts with the dot.
TEST(ModuleFilesIn, SubfoldersOnRequestEachAfterItsParentsFiles)
{
    TempFolder dir;
    for (const char* name : {"b.bas", "A.cls", "notes.txt", "sub/z.frm", "sub/deeper/y.BAS", "Sub2/x.bas",
                             ".git/hooks/h.bas", "sub/a.bas", "\xEF\xBB\xBF.git/h.bas", "\xEF\xBB\xBF../h.bas"})
        dir.Write(name, "Sub X()\nEnd Sub\n");
    fs::create_directory_symlink(dir.Path(), fs::path(dir.Path()) / "sub" / "loop");
    const auto relative = [&](bool recursive) {
        std::vector<std::string> names;
        for (const fs::path& file : ModuleFilesIn(dir.Path(), recursive))
            names.push_back(file.lexically_relative(fs::path(dir.Path())).generic_string());
        return names;
    };
    EXPECT_EQ(relative(false), (std::vector<std::string>{"A.cls", "b.bas"}));
    EXPECT_EQ(relative(true),
              (std::vector<std::string>{"A.cls", "b.bas", "sub/a.bas", "sub/z.frm", "sub/deeper/y.BAS", "Sub2/x.bas"}));
}

TEST(OpenProject, SingleFileIsAProjectOfOneModuleWithAnAbsoluteName)
{
    TempFolder dir;
    dir.Write("Lone.bas", "Sub A()\nEnd Sub");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    std::shared_ptr<MemoryProject> project;
    EXPECT_NO_THROW(project = OpenProject("./Lone.bas"));
    fs::current_path(previous);
    ASSERT_TRUE(project);
    EXPECT_EQ(project->FileName(), (fs::path(dir.Path()) / "Lone.bas").string());
    ASSERT_EQ(project->VBComponents()->Count(), 1);
    EXPECT_EQ(project->VBComponents()->Item(1)->Name(), "Lone");
}

TEST(OpenProject, DecodesEachFileBeforeScanning)
{
    TempFolder dir;
    // CP932: the trail byte of 表 is "\", of ソ too; a string ending in either must not swallow the quote.
    const std::string cp932 =
        "Attribute VB_Name = \"Cp\"\r\nSub A()\r\n  s = \"\x95\x5c\"\r\n  t = \"\x83\x5c\": End Sub\r\n"
        "Sub B() ' \x83\x5c\r\nEnd Sub\r\n";
    dir.Write("cp.bas", cp932);
    dir.Write("utf.bas", "\xEF\xBB\xBF"
                         "Attribute VB_Name = \"Utf\"\nSub 集計()\nEnd Sub\n");
    dir.Write("west.bas", "Attribute VB_Name = \"West\"\n' caf\xe9 \x81\n");
    auto components = OpenProject(dir.Path())->VBComponents();

    auto cp = components->Item("Cp")->CodeModule();
    EXPECT_EQ(cp->Lines(3, 1), "  t = \"ソ\": End Sub");
    std::int32_t kind = 0;
    EXPECT_EQ(cp->ProcOfLine(4, kind), "B");
    EXPECT_EQ(cp->ProcCountLines("A", 0), 3);
    auto utf = components->Item("Utf")->CodeModule();
    EXPECT_EQ(utf->ProcOfLine(1, kind), "集計");
    EXPECT_EQ(components->Item("West")->CodeModule()->Lines(1, 1), "' café \xC2\x81");
}

TEST(OpenProject, ExplicitEncodingOverridesTheGuess)
{
    TempFolder dir;
    const std::string file = dir.Write("m.bas", "' \xe8\xa1\xa8");
    EXPECT_EQ(OpenProject(file)->VBComponents()->Item(1)->CodeModule()->Lines(1, 1), "' 表");
    EXPECT_EQ(OpenProject(file, "CP932")->VBComponents()->Item(1)->CodeModule()->Lines(1, 1), "' 陦ｨ");
    const std::string bad = dir.Write("bad.bas", "' \x82");
    EXPECT_NE(ProblemOf([&] { OpenProject(bad, "CP932"); }).find("bad.bas: cannot decode"), std::string::npos);
    EXPECT_NE(ProblemOf([&] { OpenProject(file, "NOT-AN-ENCODING"); }).find("NOT-AN-ENCODING"), std::string::npos);
    // A command told an encoding that no converter knows was asked wrongly; bytes that the
    // encoding cannot decode are the file's failure.
    EXPECT_EQ(FailureOf([&] { OpenProject(file, "NOT-AN-ENCODING"); }).GetKind(), RuntimeError::Kind::BadUsage);
    EXPECT_EQ(FailureOf([&] { OpenProject(bad, "CP932"); }).GetKind(), RuntimeError::Kind::Failed);
}

TEST(OpenProject, ClearErrorsNamingTheFile)
{
    TempFolder dir;
    dir.Write("empty/readme.txt", "x");
    dir.Write("dupes/a.bas", "Attribute VB_Name = \"Same\"\n");
    dir.Write("dupes/b.bas", "Attribute VB_Name = \"SAME\"\n");
    const std::string text = dir.Write("notes.txt", "x");
    const std::string base = dir.Path();
    dir.Write("linked/Main.bas", "Sub A()\nEnd Sub\n");
    fs::create_symlink("../notes.txt", base + "/linked/Key.bas");
    struct Case {
        std::string path;
        std::string message;
        std::int32_t number; // the run-time error a message box would show
    };
    const Case cases[] = {
        {base + "/missing.bas", base + "/missing.bas: no such file or folder", err::FileNotFound},
        {base + "/empty", base + "/empty: the folder holds no module files (.bas, .cls, .frm)", err::FileNotFound},
        {text, text + ": not a module file (.bas, .cls, .frm), a folder of them or an Office document",
         err::BadFileFormat},
        {"/dev/null", "/dev/null: not a regular file or a folder", err::PathFileAccess},
        {base + "/dupes/a.bas/", base + "/dupes/a.bas/: Not a directory", err::PathFileAccess},
        {base + "/dupes/a.bas/.", base + "/dupes/a.bas/.: Not a directory", err::PathFileAccess},
        {base + "/dupes/a.bas/b.bas", base + "/dupes/a.bas/b.bas: Not a directory", err::PathFileAccess},
        {base + "/dupes",
         base + "/dupes/b.bas: the module name \"SAME\" is already used by " + base +
             "/dupes/a.bas; module names must differ within a project, as in the editor",
         err::DuplicateKey},
        {base + "/linked", base + "/linked/Key.bas: a link to " + text + ", outside the project's folder",
         err::PathFileAccess},
    };
    for (const Case& c : cases) {
        const RuntimeError failure = FailureOf([&] { OpenProject(c.path); });
        EXPECT_EQ(failure.Message(), c.message);
        // Export's reader reads by the same rules, in the same words.
        EXPECT_EQ(FailureOf([&] { ReadStoredProject(c.path); }).Message(), c.message);
        EXPECT_EQ(failure.Number(), c.number) << c.message;
        EXPECT_EQ(c.message.rfind(failure.Place().path + ": ", 0), 0u) << failure.Place().path;
    }
}

TEST(OpenProject, UnreadableFileIsAnError)
{
    TempFolder dir;
    const std::string file = dir.Write("locked.bas", "Sub A()\nEnd Sub\n");
    fs::permissions(file, fs::perms::none);
    if (std::ifstream(file).good())
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_NE(ProblemOf([&] { OpenProject(file); }).find("locked.bas: cannot open the file"), std::string::npos);
    EXPECT_EQ(ProblemOf([&] { ReadStoredProject(file); }), ProblemOf([&] { OpenProject(file); }));
}

TEST(OpenProject, AnyBytesOpenWithoutCrashing)
{
    TempFolder dir;
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 400), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? "\r\n\"' _:"[random() % 7] : random() % 256);
        if (round % 5 == 0)
            bytes = "VERSION 5.00\nBegin X\n" + bytes;
        const std::string file = dir.Write("fuzz.frm", bytes);
        auto module = OpenProject(file)->VBComponents()->Item(1)->CodeModule();
        std::int32_t kind = 0;
        for (std::int32_t line = 1; line <= module->CountOfLines() + 1; ++line) {
            const std::string name = module->ProcOfLine(line, kind);
            if (!name.empty()) {
                EXPECT_GE(module->ProcCountLines(name, kind), 1);
            }
        }
    }
}

TEST(OpenEditor, FirstProjectIsActiveWithTheChosenModule)
{
    TempFolder dir;
    dir.Write("one/A.bas", "Sub A()\nEnd Sub\n");
    dir.Write("one/B.bas", "Sub B()\nEnd Sub\n");
    dir.Write("two/C.bas", "Sub C()\nEnd Sub\n");
    const std::string one = dir.Path() + "/one";
    const std::string two = dir.Path() + "/two";

    auto editor = OpenEditor({one, two});
    EXPECT_EQ(editor->VBProjects()->Count(), 2);
    EXPECT_EQ(editor->ActiveVBProject()->FileName(), one);
    EXPECT_EQ(editor->ActiveCodePane()->CodeModule()->Name(), "A");
    EXPECT_EQ(OpenEditor({one, two}, "b")->ActiveCodePane()->CodeModule()->Name(), "B");
    EXPECT_EQ(ProblemOf([&] {
                  OpenEditor({one, two}, "C");
              }),
              one + ": the project has no module named \"C\"; its modules are A, B");
    EXPECT_EQ(ProblemOf([&] {
                  OpenEditor({one, dir.Path() + "/nothing"});
              }),
              dir.Path() + "/nothing: no such file or folder");
    EXPECT_EQ(ProblemOf([&] { OpenEditor({}); }), "no project path was given");
}

TEST(LockedProjectNotes, NameEachLockedProject)
{
    auto open = std::make_shared<MemoryProject>("/p/Open.xlsm", std::vector<std::shared_ptr<MemoryComponent>>{});
    auto locked = std::make_shared<MemoryProject>("/p/Locked.xlsm", std::vector<std::shared_ptr<MemoryComponent>>{}, 1);
    MemoryEditor editor({open, locked}, open, nullptr);
    EXPECT_EQ(
        LockedProjectNotes(editor),
        std::vector<std::string>{"/p/Locked.xlsm: the VBA project is locked for viewing; the window leaves it out"});
}

TEST(OpenProject, SharedExportedTree)
{
    const fs::path form =
        fs::path(QUILLMARK_SHARED_DIR) / "testdata/office/pre-commit-VBA/test.xlsm.VBA/code/registerForm";
    if (!fs::exists(form))
        GTEST_SKIP() << "no exported tree at " << form;
    auto components = OpenProject(form.string())->VBComponents();
    ASSERT_EQ(components->Count(), 3);
    EXPECT_EQ(components->Item(1)->Name(), "IForm");
    EXPECT_EQ(components->Item(2)->Name(), "RegisterProductForm");
    EXPECT_EQ(components->Item(2)->Type(), 3);
    EXPECT_EQ(components->Item(3)->Type(), 1);
    auto code = components->Item("RegisterProductForm")->CodeModule();
    EXPECT_EQ(code->Lines(1, 2), "'@Folder(\"registerForm\")\r\nOption Explicit");
    for (std::int32_t line = 1; line <= code->CountOfLines(); ++line)
        EXPECT_EQ(code->Lines(line, 1).rfind("Attribute ", 0), std::string::npos) << line;
}

TEST(OpenProject, OfficeDocumentGoesToTheDocumentReader)
{
    const fs::path book = fs::path(QUILLMARK_SHARED_DIR) / "testdata/office/pre-commit-VBA/test.xlsm";
    if (!fs::exists(book))
        GTEST_SKIP() << "no sample workbook at " << book;
#ifdef QUILLMARK_DOCUMENTS
    auto project = OpenProject(book.string());
    EXPECT_EQ(project->FileName(), book.lexically_normal().string());
    EXPECT_GT(project->VBComponents()->Count(), 0);
#else
    EXPECT_NE(ProblemOf([&] { OpenProject(book.string()); }).find("cannot read Office documents"), std::string::npos);
#endif
}

TEST(DocumentPath, OfficeExtensionsInAnyCaseAreDocuments)
{
    for (const char* path :
         {"a.xls", "b.XLSM", "dir/c.xlsb", "d.xlam", "e.doc", "f.dot", "g.docm", "h.DOTM", "i.pptm", "j.potm", "k.ppam",
          "l.ppt", "vbaProject.bin", "m.xla", "n.xlsx", "o.vsdm", "p.VSTM", "q.vssm"})
        EXPECT_TRUE(IsDocumentPath(path)) << path;
    for (const char* path : {"Module1.bas", "Class1.cls", "Form1.frm", "folder", "xls", "a.txt", "a.xls/"})
        EXPECT_FALSE(IsDocumentPath(path)) << path;
}

TEST(OpenProject, EveryDocumentExtensionGoesToTheDocumentReader)
{
    TempFolder dir;
    for (const char* name : {"Book.xlsx", "Drawing.vsdm", "Stencil.vssm", "Slides.pptx", "Old.xlt"}) {
        const std::string problem = ProblemOf([&] { OpenProject(dir.Write(name, "not really a document")); });
#ifdef QUILLMARK_DOCUMENTS
        EXPECT_NE(problem.find("not an Office document or VBA project file"), std::string::npos) << problem;
#else
        EXPECT_NE(problem.find("cannot read Office documents"), std::string::npos) << problem;
#endif
    }
}

TEST(OpenProject, SharedCp932Class)
{
    const fs::path file = fs::path(QUILLMARK_SHARED_DIR) / "testdata/office/ariawase/MonkeyTest.cls";
    if (!fs::exists(file))
        GTEST_SKIP() << "no sample class at " << file;
    auto component = OpenProject(file.string())->VBComponents()->Item(1);
    EXPECT_EQ(component->Name(), "MonkeyTest");
    EXPECT_EQ(component->Type(), 2);
    auto code = component->CodeModule();
    EXPECT_EQ(code->Lines(1, 1).rfind("'''+----", 0), 0u);
    const std::string all = code->Lines(1, code->CountOfLines());
    EXPECT_EQ(all.find("Attribute VB_"), std::string::npos);
    EXPECT_NE(all.find("Ariawase"), std::string::npos);
}

} // namespace
} // namespace quillmark
