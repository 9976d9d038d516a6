#include "sources/documents/DocumentProject.h"

#include "base/RuntimeError.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <gsf/gsf.h>

#include <filesystem>
#include <unistd.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

// Every case with libgsf and with our own readers: both say the same.
class DocumentProjectTest : public ::testing::TestWithParam<ContainerReaders> {
protected:
    void SetUp() override
    {
        UseContainerReaders(GetParam());
        dir_ = fs::temp_directory_path() / ("quillmark-documents-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        UseContainerReaders(ContainerReaders::Platform);
        fs::remove_all(dir_);
    }

    std::string Write(const std::string& name, std::string_view bytes)
    {
        const std::string path = (dir_ / name).string();
        testing::WriteFile(path, bytes);
        return path;
    }

    // The problem LoadDocumentProject reports, or "" when it loads.
    static std::string Problem(const std::string& path)
    {
        try {
            LoadDocumentProject(path);
            return {};
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Place().path, path);
            return error.Problem();
        }
    }

    fs::path dir_;
};

testing::WrittenModule Module(const std::string& name, std::int32_t type, const std::string& code)
{
    testing::WrittenModule module;
    module.name = name;
    module.type = type;
    module.source = testing::StoredSource(name, code);
    return module;
}

std::uint32_t Read32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
    }
    return value;
}

void Write32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

testing::WrittenProject Workbook()
{
    testing::WrittenProject project;
    project.modules = {
        Module("ThisWorkbook", 100,
               "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n"
               "Attribute VB_GlobalNameSpace = False\r\n"
               "Private Sub Workbook_Open()\r\nEnd Sub\r\n"),
        Module("Module1", 1, "Option Explicit\r\n\r\nSub Hello()\r\n    MsgBox \"Hi\"\r\nEnd Sub\r\n"),
        Module("Class1", 2,
               "Public Property Get Size() As Long\r\nAttribute Size.VB_UserMemId = 0\r\n"
               "End Property\r\n"),
        Module("UserForm1", 3, ""),
    };
    return project;
}

void ExpectWorkbook(MemoryProject& project)
{
    EXPECT_EQ(project.Protection(), 0);
    const auto& all = project.Components()->All();
    ASSERT_EQ(all.size(), 4u);
    const std::pair<const char*, std::int32_t> expected[] = {
        {"ThisWorkbook", 100}, {"Module1", 1}, {"Class1", 2}, {"UserForm1", 3}};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->Name(), expected[i].first);
        EXPECT_EQ(all[i]->Type(), expected[i].second);
    }
    EXPECT_EQ(all[0]->Module()->Lines(1, 10), "Private Sub Workbook_Open()\r\nEnd Sub");
    EXPECT_EQ(all[1]->Module()->Lines(1, 10), "Option Explicit\r\n\r\nSub Hello()\r\n    MsgBox \"Hi\"\r\nEnd Sub");
    EXPECT_EQ(all[2]->Module()->Lines(1, 10), "Public Property Get Size() As Long\r\nEnd Property");
    EXPECT_EQ(all[3]->Module()->CountOfLines(), 0);
}

TEST_P(DocumentProjectTest, EveryContainerGivesTheSameProject)
{
    const testing::WrittenProject project = Workbook();
    const std::pair<const char*, std::string> documents[] = {
        {"Book.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR", {"Workbook"})},
        {"Letter.doc", testing::CompoundFile(project, "Macros", {"WordDocument"})},
        {"vbaProject.bin", testing::CompoundFile(project)},
        {"Book.xlsm", testing::Package(&project)},
    };
    for (const auto& [name, bytes] : documents) {
        SCOPED_TRACE(name);
        const std::string path = Write(name, bytes);
        const auto loaded = LoadDocumentProject(path);
        EXPECT_EQ(loaded->FileName(), fs::absolute(path).string());
        ExpectWorkbook(*loaded);
        EXPECT_EQ(loaded->VBComponents()->Item("MODULE1")->Name(), "Module1");
    }
}

TEST_P(DocumentProjectTest, ChunkKindsLargeModulesAndWrongOffsetsAllLoad)
{
    std::string big;
    for (int i = 0; i < 600; ++i) {
        big += "Sub P" + std::to_string(i) + "()\r\n    Debug.Print " + std::to_string(i) + "\r\nEnd Sub\r\n";
    }
    testing::WrittenProject project;
    project.optionalRecords = false;
    project.modules = {Module("Literal", 1, big), Module("Raw", 1, big), Module("Early", 1, big),
                       Module("Late", 1, big), Module("Beyond", 1, "Sub X()\r\nEnd Sub\r\n")};
    project.modules[1].rawChunks = true;
    project.modules[2].offsetError = -5;
    project.modules[3].offsetError = 9;
    project.modules[4].offsetError = 1000000;
    const auto loaded = LoadDocumentProject(Write("Big.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR")));
    const auto& all = loaded->Components()->All();
    ASSERT_EQ(all.size(), 5u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(all[i]->Module()->CountOfLines(), 1800) << all[i]->Name();
        EXPECT_EQ(all[i]->Module()->Lines(1798, 3), "Sub P599()\r\n    Debug.Print 599\r\nEnd Sub");
    }
    EXPECT_EQ(all[4]->Module()->Lines(1, 2), "Sub X()\r\nEnd Sub");
}

TEST_P(DocumentProjectTest, CodePageDecidesTheTextAndUnicodeNamesArePreferred)
{
    testing::WrittenProject project;
    project.codePage = 932;
    // Hangul has no CP932 form: the code-page record holds "?", the Unicode one the name.
    testing::WrittenModule korean = Module("Mod?", 1, "' \x93\xFA\x96\x7B\x8C\xEA\r\nSub A()\r\nEnd Sub\r\n");
    korean.unicodeName = std::string("M\0o\0d\0\x5C\xD5", 8);
    testing::WrittenModule japanese = Module("\x95\x5C", 2, "Dim x\r\n");
    japanese.streamName = "表";
    project.modules = {korean, japanese};
    const auto loaded = LoadDocumentProject(Write("Japanese.xlsm", testing::Package(&project)));
    const auto& all = loaded->Components()->All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]->Name(), "Mod한");
    EXPECT_EQ(all[0]->Module()->Lines(1, 1), "' 日本語");
    EXPECT_EQ(all[1]->Name(), "表");
    EXPECT_EQ(all[1]->Type(), 2);
    EXPECT_EQ(loaded->VBComponents()->Item("mod한")->Name(), "Mod한");
}

TEST_P(DocumentProjectTest, BytesTheCodePageLacksAndControlsBecomeReplacementCharacters)
{
    const struct {
        std::uint16_t codePage;
        std::string code;
        std::string text;
    } cases[] = {
        {1252, "' caf\xE9 \x81 \x80\r\nSub A()\r\nEnd Sub\r\n", "' café \xEF\xBF\xBD €"},
        {932, "' \x93\xFA\x81 \x96\x7B\r\nSub A()\r\nEnd Sub\r\n", "' 日\xEF\xBF\xBD 本"},
        {932, "' \x93\xFA\x93", "' 日\xEF\xBF\xBD"},
        {1252, std::string("' a\x01 b\0 c\x1B\r\n", 11), "' a\xEF\xBF\xBD b\xEF\xBF\xBD c\xEF\xBF\xBD"},
    };
    for (const auto& each : cases) {
        testing::WrittenProject project;
        project.codePage = each.codePage;
        project.modules = {Module("Module1", 1, each.code)};
        const auto loaded = LoadDocumentProject(Write("Odd.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR")));
        EXPECT_EQ(loaded->Components()->All()[0]->Module()->Lines(1, 1), each.text) << each.codePage;
    }
    testing::WrittenProject unknown;
    unknown.codePage = 4242;
    EXPECT_NE(Problem(Write("Unknown.xls", testing::CompoundFile(unknown, "_VBA_PROJECT_CUR"))).find("code page 4242"),
              std::string::npos);
}

TEST_P(DocumentProjectTest, OnlyAHiddenProjectIsLocked)
{
    const struct {
        bool hidden;
        std::uint32_t state; // 4: a password is set
        bool locked;
    } cases[] = {{true, 0, true}, {true, 4, true}, {false, 4, false}};
    for (const auto& each : cases) {
        testing::WrittenProject project = Workbook();
        project.hiddenForViewing = each.hidden;
        project.protectionState = each.state;
        const auto loaded = LoadDocumentProject(Write("Locked.xlsm", testing::Package(&project)));
        EXPECT_EQ(loaded->Protection(), each.locked ? 1 : 0);
        try {
            EXPECT_EQ(loaded->VBComponents()->Count(), 4);
            EXPECT_FALSE(each.locked) << "components of a locked project were listed";
        } catch (const RuntimeError& error) {
            EXPECT_TRUE(each.locked);
            EXPECT_EQ(error.Number(), err::ProjectProtected);
        }
    }
}

// The root entry given a sibling, the PROJECT stream: libgsf reads it with no parent to hold it.
std::string WithRootSibling(std::string file)
{
    const std::size_t root = testing::DirectoryEntry(file, "Root Entry");
    const auto sibling = static_cast<std::uint32_t>((testing::DirectoryEntry(file, "PROJECT") - root) / 128);
    for (int i = 0; i < 4; ++i)
        file[root + 0x48 + i] = static_cast<char>(sibling >> (8 * i));
    return file;
}

TEST_P(DocumentProjectTest, DocumentsWithoutAReadableProjectSayWhy)
{
    testing::WrittenProject empty;
    const struct {
        const char* name;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"Plain.xlsx", testing::Package(nullptr), "contains no VBA project"},
        {"Plain.doc", testing::CompoundFile(empty, "ObjectPool", {"WordDocument"}), "contains no VBA project"},
        {"Secret.xlsm", testing::CompoundFile(empty, "Other", {"EncryptionInfo", "EncryptedPackage"}), "encrypted"},
        {"Sibling.xlsm", WithRootSibling(testing::CompoundFile(empty, "Other", {"EncryptionInfo", "EncryptedPackage"})),
         "encrypted"},
        {"Slides.ppt", testing::CompoundFile(empty, "Other", {"PowerPoint Document"}), ".pptm"},
        {"Notes.xls", "just some text, long enough", "not an Office document"},
        {"Empty.xls", "", "not an Office document"},
        {"Zip.xlsm", std::string("PK\x03\x04", 4) + std::string(40, '\0'), "zip package is damaged"},
        // The package format allows no document type; its entities could blow a part up.
        {"Typed.vsdm",
         testing::Zip({{"[Content_Types].xml", "<!DOCTYPE Types [<!ENTITY a \"a\">]><Types><Default Extension=\"bin\" "
                                               "ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>"},
                       {"Code.bin", testing::CompoundFile(Workbook())}}),
         "contains no VBA project"},
    };
    for (const auto& each : cases) {
        const std::string problem = Problem(Write(each.name, each.bytes));
        EXPECT_NE(problem.find(each.problem), std::string::npos) << each.name << ": " << problem;
    }
    EXPECT_NE(Problem((dir_ / "Missing.xls").string()).find("cannot open"), std::string::npos);
}

std::string Relationships(const std::string& type, const std::string& target)
{
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" +
           type + "\" Target=\"" + target + "\"/></Relationships>";
}

std::string ContentTypes(const std::string& entries)
{
    return "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">" + entries + "</Types>";
}

TEST_P(DocumentProjectTest, AnyPackageWithAVbaPartIsADocument)
{
    const std::string vba = testing::CompoundFile(Workbook());
    const std::string vbaType = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
    const std::string visioDocument = "http://schemas.microsoft.com/visio/2010/relationships/document";
    const std::string noTypes = ContentTypes("");
    const std::pair<const char*, testing::ZipParts> packages[] = {
        // Visio relates its VBA project to its document part.
        {"Drawing.vsdm",
         {{"[Content_Types].xml", noTypes},
          {"_rels/.rels", Relationships(visioDocument, "visio/document.xml")},
          {"visio/document.xml", "<VisioDocument/>"},
          {"visio/_rels/document.xml.rels", Relationships(vbaType, "vbaProject.bin")},
          {"visio/vbaProject.bin", vba}}},
        // Related from the package itself.
        {"Template.vstm",
         {{"[Content_Types].xml", noTypes},
          {"_rels/.rels", Relationships(vbaType, "visio/vbaProject.bin")},
          {"visio/vbaProject.bin", vba}}},
        // Named by its content type only; other .bin parts are overridden.
        {"Stencil.vssm",
         {{"[Content_Types].xml",
           ContentTypes("<Default Extension=\"BIN\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
                        "<Override PartName=\"/a/printer.bin\" ContentType=\"application/x-printer\"/>")},
          {"a/printer.bin", "printer settings"},
          {"b/Code.bin", vba}}},
        {"Override.vsdm",
         {{"[Content_Types].xml",
           ContentTypes(
               "<Override PartName=\"/Visio/VBA.data\" ContentType=\"application/vnd.ms-office.vbaProject\"/>")},
          {"visio/vba.data", vba}}},
    };
    for (const auto& [name, parts] : packages) {
        SCOPED_TRACE(name);
        ExpectWorkbook(*LoadDocumentProject(Write(name, testing::Zip(parts))));
    }
}

TEST_P(DocumentProjectTest, DamagedStreamsAreReportedWithTheModule)
{
    testing::WrittenProject project = Workbook();
    project.modules[1].source = "no attributes, and the offset is wrong";
    project.modules[1].offsetError = 3;
    EXPECT_NE(Problem(Write("Bad.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR"))).find("module Module1"),
              std::string::npos);
}

// Renames a stream in the compound file's directory, where names are UTF-16.
std::string RenameStream(std::string bytes, const std::string& from, const std::string& to)
{
    const std::size_t at = testing::DirectoryEntry(bytes, from);
    for (std::size_t i = 0; i < to.size(); ++i) {
        bytes[at + 2 * i] = to[i];
    }
    return bytes;
}

std::string ResizeStream(std::string bytes, const std::string& name, std::uint32_t size)
{
    Write32(bytes, testing::DirectoryEntry(bytes, name) + 0x78, size);
    return bytes;
}

TEST_P(DocumentProjectTest, MissingStreamsAreNamed)
{
    const std::string bytes = testing::CompoundFile(Workbook(), "_VBA_PROJECT_CUR");
    const struct {
        const char* from;
        const char* to;
        const char* problem;
    } cases[] = {
        {"dir", "dix", "no dir stream"},
        {"Module1", "Module9", "the stream Module1 of module Module1 is missing"},
        {"VBA", "VBX", "contains no VBA project"},
        {"PROJECT", "PROJEXT", "the PROJECT stream is missing"},
    };
    for (const auto& each : cases) {
        const std::string problem = Problem(Write("Missing.xls", RenameStream(bytes, each.from, each.to)));
        EXPECT_NE(problem.find(each.problem), std::string::npos) << each.from << ": " << problem;
    }
}

TEST_P(DocumentProjectTest, LockedProjectWithoutItsProjectStreamIsRefused)
{
    testing::WrittenProject project = Workbook();
    project.hiddenForViewing = true;
    const std::string bytes = RenameStream(testing::CompoundFile(project, "_VBA_PROJECT_CUR"), "PROJECT", "PROJEXT");
    EXPECT_NE(Problem(Write("Locked.xls", bytes)).find("PROJECT stream is missing"), std::string::npos);
}

TEST_P(DocumentProjectTest, StreamsThatCannotBeReadAreDamagedAndTheLibraryStaysQuiet)
{
    const std::string bytes = testing::CompoundFile(Workbook(), "_VBA_PROJECT_CUR");
    const struct {
        const char* stream;
        std::uint32_t size;
        const char* problem;
    } cases[] = {
        // Beyond its sector chain, within the file.
        {"Module1", 4000, "stream VBA/Module1 is damaged"},
        {"PROJECT", 4000, "stream PROJECT is damaged"},
        // Beyond the whole file: the library drops the entry and the entries below it.
        {"PROJECT", 0x7FFFFFF0, "stream PROJECT claims 2147483632 bytes, more than the file holds"},
    };
    for (const auto& each : cases) {
        ::testing::internal::CaptureStderr();
        const std::string problem = Problem(Write("Damaged.xls", ResizeStream(bytes, each.stream, each.size)));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_NE(problem.find(each.problem), std::string::npos) << each.stream << ": " << problem;
    }
}

TEST_P(DocumentProjectTest, LockedProjectWithDamagedCodeStillLoadsAsLocked)
{
    testing::WrittenProject project = Workbook();
    project.hiddenForViewing = true;
    const std::string bytes = RenameStream(testing::CompoundFile(project, "_VBA_PROJECT_CUR"), "Module1", "Module9");
    const auto loaded = LoadDocumentProject(Write("LockedDamaged.xls", bytes));
    EXPECT_EQ(loaded->Protection(), 1);
    EXPECT_EQ(loaded->Components()->Count(), 0);
}

TEST_P(DocumentProjectTest, OversizedPackagePartIsRefusedUnread)
{
    // 129 MiB of zeros deflate to a small file: a classic zip bomb.
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* zip = gsf_outfile_zip_new(memory, nullptr);
    const auto write = [&](GsfOutfile* parent, const char* name, std::string_view text) {
        GsfOutput* child = gsf_outfile_new_child(parent, name, FALSE);
        gsf_output_write(child, text.size(), reinterpret_cast<const guint8*>(text.data()));
        gsf_output_close(child);
        g_object_unref(child);
    };
    GsfOutfile* rels = GSF_OUTFILE(gsf_outfile_new_child(zip, "_rels", TRUE));
    write(rels, ".rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
          "Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"main.xml\"/></Relationships>");
    gsf_output_close(GSF_OUTPUT(rels));
    g_object_unref(rels);
    write(zip, "main.xml", "<main/>");
    GsfOutfile* mainRels = GSF_OUTFILE(gsf_outfile_new_child(zip, "_rels", TRUE));
    write(mainRels, "main.xml.rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
          "Id=\"r2\" Type=\"http://schemas.microsoft.com/office/2006/relationships/vbaProject\" "
          "Target=\"vbaProject.bin\"/></Relationships>");
    gsf_output_close(GSF_OUTPUT(mainRels));
    g_object_unref(mainRels);
    GsfOutput* bomb = gsf_outfile_new_child(zip, "vbaProject.bin", FALSE);
    const std::string zeros(1024 * 1024, '\0');
    for (int i = 0; i < 129; ++i) {
        gsf_output_write(bomb, zeros.size(), reinterpret_cast<const guint8*>(zeros.data()));
    }
    gsf_output_close(bomb);
    g_object_unref(bomb);
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    const std::string bytes(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
                            static_cast<std::size_t>(gsf_output_size(memory)));
    g_object_unref(memory);
    EXPECT_LT(bytes.size(), 1024u * 1024);
    EXPECT_NE(Problem(Write("Bomb.xlsm", bytes)).find("too large"), std::string::npos);
}

TEST_P(DocumentProjectTest, ModuleExpandingBeyondTheLimitIsRefused)
{
    testing::WrittenProject project = Workbook();
    // Each six-byte chunk expands to 4096 bytes: 16385 of them exceed 64 MiB.
    std::string source(1, '\x01');
    for (int i = 0; i < 16385; ++i) {
        source.append("\x03\xB0\x02\x61\xFC\x0F", 6);
    }
    project.modules[1].source.clear();
    project.modules[1].cache = source; // at offset 0 the "cache" is the container
    project.modules[1].offsetError = -static_cast<std::int64_t>(source.size());
    project.modules[1].rawChunks = true;
    const std::string problem = Problem(Write("Huge.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR")));
    EXPECT_NE(problem.find("64 MiB"), std::string::npos) << problem;
}

TEST_P(DocumentProjectTest, TruncatedAndFlippedFilesNeverCrash)
{
    const testing::WrittenProject project = Workbook();
    const std::pair<const char*, std::string> documents[] = {
        {"Cut.xls", testing::CompoundFile(project, "_VBA_PROJECT_CUR")},
        {"Cut.xlsm", testing::Package(&project)},
    };
    for (const auto& [name, bytes] : documents) {
        const std::string path = (dir_ / name).string();
        int loaded = 0;
        for (std::size_t cut = 0; cut < bytes.size(); cut += 97) {
            testing::WriteFile(path, bytes.substr(0, cut));
            loaded += Problem(path).empty() ? 1 : 0;
        }
        EXPECT_EQ(loaded, 0) << name << ": a truncated document loaded";
        for (std::size_t at = 0; at < bytes.size(); at += 13) {
            std::string flipped = bytes;
            flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
            testing::WriteFile(path, flipped);
            Problem(path);
        }
    }
}

TEST_P(DocumentProjectTest, CyclicAndOutOfRangeSectorChainsEndInAnError)
{
    testing::WrittenProject project = Workbook();
    std::string big;
    for (int i = 0; i < 400; ++i) {
        big += "Sub Q" + std::to_string(i) + "(): Debug.Print \"" + std::to_string(i * 7919) + "\": End Sub\r\n";
    }
    project.modules[1].source = testing::StoredSource("Module1", big);
    project.modules[1].rawChunks = true; // a stream of its own sectors, not the mini stream
    const std::string bytes = testing::CompoundFile(project, "_VBA_PROJECT_CUR");
    const std::size_t fat = (Read32(bytes, 0x4C) + 1) * 512;
    const std::uint32_t sectors = static_cast<std::uint32_t>(bytes.size() / 512 - 1);
    const std::string path = (dir_ / "Cycle.xls").string();
    int damaged = 0;
    for (std::uint32_t sector = 0; sector < sectors; ++sector) {
        const std::uint32_t next = Read32(bytes, fat + 4 * sector);
        if (next >= sectors) {
            continue; // end of chain or a FAT sector itself
        }
        for (std::uint32_t target : {sector, next > 1 ? next - 2 : 0u, 0x7FFFFFu}) {
            std::string cyclic = bytes;
            Write32(cyclic, fat + 4 * sector, target);
            testing::WriteFile(path, cyclic);
            damaged += Problem(path).empty() ? 0 : 1;
        }
    }
    EXPECT_GT(damaged, 10);
}

INSTANTIATE_TEST_SUITE_P(Readers, DocumentProjectTest,
                         ::testing::Values(ContainerReaders::Platform, ContainerReaders::Own),
                         [](const auto& info) { return info.param == ContainerReaders::Own ? "Own" : "Libgsf"; });

} // namespace
} // namespace quillmark
