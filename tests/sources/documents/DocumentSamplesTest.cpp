// Real documents written by Office, from other projects' test data (see MANIFEST.tsv there).
#include "sources/documents/DocumentProject.h"

#include "base/RuntimeError.h"
#include "codemodel/ModuleText.h"
#include "sources/ModuleFile.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

const fs::path Samples = fs::path(QUILLMARK_SHARED_DIR) / "testdata" / "office";

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Sample {
    std::string file;
    bool locked = false;
    std::vector<std::pair<std::string, std::int32_t>> modules; // name and component type
};

// The "observed" column: "cp=1252; unprotected; 3 modules: ThisWorkbook(doc), Module1(std)".
Sample ParseObserved(const std::string& file, const std::string& observed)
{
    static const std::map<std::string, std::int32_t> kinds{{"std", 1}, {"cls", 2}, {"form", 3}, {"doc", 100}};
    Sample sample{file, observed.find("locked-for-viewing") != std::string::npos, {}};
    std::istringstream list(observed.substr(observed.find("modules:") + 8));
    std::string item;
    while (std::getline(list, item, ',')) {
        const std::size_t open = item.find('(');
        const std::size_t first = item.find_first_not_of(' ');
        sample.modules.emplace_back(item.substr(first, open - first),
                                    kinds.at(item.substr(open + 1, item.find(')') - open - 1)));
    }
    return sample;
}

std::vector<Sample> Documents()
{
    std::vector<Sample> samples;
    std::ifstream manifest(Samples / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line); // column names
    while (std::getline(manifest, line)) {
        std::vector<std::string> columns;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) {
            columns.push_back(field);
        }
        if (columns.size() > 8 && columns[8].find("modules:") != std::string::npos) {
            samples.push_back(ParseObserved(columns[0], columns[8]));
        }
    }
    return samples;
}

class DocumentSamples : public ::testing::TestWithParam<ContainerReaders> {
protected:
    void SetUp() override
    {
        UseContainerReaders(GetParam());
        if (!fs::exists(Samples / "MANIFEST.tsv")) {
            GTEST_SKIP() << "no sample documents in " << Samples;
        }
    }

    void TearDown() override { UseContainerReaders(ContainerReaders::Platform); }

    static std::shared_ptr<MemoryProject> Load(const std::string& file)
    {
        return LoadDocumentProject((Samples / file).string());
    }

    // The module's text as stored: its lines, each ended by CR LF.
    static std::string StoredText(const std::shared_ptr<MemoryProject>& project, const std::string& module)
    {
        const auto component = project->Components()->Item(module);
        auto code = component->CodeModule();
        return code->CountOfLines() == 0 ? std::string() : code->Lines(1, code->CountOfLines()) + "\r\n";
    }
};

TEST_P(DocumentSamples, ModuleListsAndProtectionAreThoseOfTheManifest)
{
    const std::vector<Sample> samples = Documents();
    EXPECT_GE(samples.size(), 10u);
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.file);
        const auto project = Load(sample.file);
        EXPECT_EQ(project->Protection(), sample.locked ? 1 : 0);
        const auto& all = project->Components()->All();
        ASSERT_EQ(all.size(), sample.modules.size());
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(all[i]->Name(), sample.modules[i].first);
            EXPECT_EQ(all[i]->Type(), sample.modules[i].second) << all[i]->Name();
        }
        if (sample.locked) {
            try {
                project->VBComponents();
                ADD_FAILURE() << "a locked project listed its components";
            } catch (const RuntimeError& error) {
                EXPECT_EQ(error.Number(), err::ProjectProtected);
            }
        }
    }
}

TEST_P(DocumentSamples, SimpleMacroHoldsTheMacroOfItsVbaFile)
{
    const std::pair<const char*, const char*> documents[] = {
        {"poi/spreadsheet/SimpleMacro.xls", "poi/spreadsheet/SimpleMacro.vba"},
        {"poi/spreadsheet/SimpleMacro.xlsm", "poi/spreadsheet/SimpleMacro.vba"},
        {"poi/document/SimpleMacro.doc", "poi/document/SimpleMacro.vba"},
        {"poi/document/SimpleMacro.docm", "poi/document/SimpleMacro.vba"},
        {"poi/slideshow/SimpleMacro.pptm", "poi/slideshow/SimpleMacro.vba"},
    };
    for (const auto& [document, vba] : documents) {
        SCOPED_TRACE(document);
        const std::string expected = ReadBytes(Samples / vba);
        const std::string marker = "Sub TestMacro()";
        ASSERT_EQ(expected.rfind(marker, 0), 0u);
        const std::string text = StoredText(Load(document), "Module1");
        EXPECT_NE(text.find(marker), std::string::npos);
        EXPECT_NE(text.find(expected.substr(marker.size())), std::string::npos) << text;
    }
}

TEST_P(DocumentSamples, CalamineModuleIsItsExpectedBytesWithoutTheAttributeLine)
{
    std::string expected = ReadBytes(Samples / "calamine/vba.xlsm.testVBA.expected");
    ASSERT_EQ(expected.rfind("Attribute VB_Name", 0), 0u);
    expected.erase(0, expected.find("\r\n") + 2);
    EXPECT_EQ(StoredText(Load("calamine/vba.xlsm"), "testVBA"), expected);
}

std::vector<std::string> LinesWithoutTrailingBlanks(const ModuleText& text)
{
    std::vector<std::string> lines;
    for (std::int32_t i = 1; i <= text.Count(); ++i) {
        lines.emplace_back(text.Line(i));
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

TEST_P(DocumentSamples, JapaneseProjectEqualsItsExportedCodeTree)
{
    const auto project = Load("pre-commit-VBA/test.xlsm");
    std::map<std::string, fs::path> exported;
    for (const auto& entry : fs::recursive_directory_iterator(Samples / "pre-commit-VBA/test.xlsm.VBA/code")) {
        if (entry.is_regular_file()) {
            exported[entry.path().stem().string()] = entry.path();
        }
    }
    const auto& all = project->Components()->All();
    ASSERT_EQ(all.size(), exported.size());
    for (const auto& component : all) {
        SCOPED_TRACE(component->Name());
        ASSERT_EQ(exported.count(component->Name()), 1u);
        const ModuleText expected(VisibleCode(ReadBytes(exported[component->Name()])));
        EXPECT_EQ(LinesWithoutTrailingBlanks(component->Module()->Text()), LinesWithoutTrailingBlanks(expected));
    }
    EXPECT_NE(StoredText(project, "SampleTab").find("'@Folder"), std::string::npos);
}

TEST_P(DocumentSamples, LockedWorkbookWithADamagedProjectStreamStaysShut)
{
    testing::ZipParts parts = testing::Unzip(ReadBytes(Samples / "unlock_excel/xlsm/Locked_with_macro.xlsm"));
    const auto vba =
        std::find_if(parts.begin(), parts.end(), [](const auto& part) { return part.first == "xl/vbaProject.bin"; });
    ASSERT_NE(vba, parts.end());
    vba->second[testing::DirectoryEntry(vba->second, "PROJECT")] = 'X';
    const fs::path copy = fs::temp_directory_path() / ("quillmark-locked-" + std::to_string(::getpid()) + ".xlsm");
    testing::WriteFile(copy.string(), testing::Zip(parts));
    try {
        LoadDocumentProject(copy.string());
        ADD_FAILURE() << "a locked project with a damaged PROJECT stream was read";
    } catch (const RuntimeError& error) {
        EXPECT_NE(error.Problem().find("PROJECT stream is missing"), std::string::npos) << error.Problem();
    }
    fs::remove(copy);
}

TEST_P(DocumentSamples, DamagedCopiesFailCleanly)
{
    const fs::path copy = fs::temp_directory_path() / ("quillmark-damaged-" + std::to_string(::getpid()) + ".xls");
    for (const char* document : {"poi/spreadsheet/SimpleMacro.xls", "unlock_excel/xlsm/Unlocked_with_macro.xlsm"}) {
        SCOPED_TRACE(document);
        const std::string bytes = ReadBytes(Samples / document);
        const std::size_t step = bytes.size() / 150 + 1;
        std::size_t failures = 0;
        const auto attempt = [&](const std::string& damaged) {
            std::ofstream(copy, std::ios::binary | std::ios::trunc) << damaged;
            try {
                LoadDocumentProject(copy.string());
            } catch (const RuntimeError& error) {
                EXPECT_EQ(error.Place().path, copy.string());
                EXPECT_FALSE(error.Problem().empty());
                ++failures;
            }
        };
        for (std::size_t cut = 0; cut < bytes.size(); cut += step) {
            attempt(bytes.substr(0, cut));
        }
        EXPECT_GT(failures, 100u);
        for (std::size_t at = 0; at < bytes.size(); at += step / 2 + 1) {
            std::string flipped = bytes;
            flipped[at] = static_cast<char>(~flipped[at]);
            attempt(flipped);
        }
    }
    fs::remove(copy);
}

INSTANTIATE_TEST_SUITE_P(Readers, DocumentSamples,
                         ::testing::Values(ContainerReaders::Platform, ContainerReaders::Own),
                         [](const auto& info) { return info.param == ContainerReaders::Own ? "Own" : "Libgsf"; });

} // namespace
} // namespace quillmark
