// Our own container readers against libgsf: the same project, or the same message, for every
// document of the tests and for damaged copies of them, so that every edition tells a user the
// same.
#include "sources/documents/DocumentProject.h"

#include "base/RuntimeError.h"
#include "sources/DocumentPath.h"
#include "sources/documents/OwnContainers.h"
#include "sources/documents/VbaProjectWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quillmark {
namespace {

namespace fs = std::filesystem;

// What LoadDocumentProject makes of path: the project's protection, modules and code, or its
// problem.
std::string Outcome(const std::string& path, ContainerReaders readers)
{
    UseContainerReaders(readers);
    std::string outcome;
    try {
        const auto project = LoadDocumentProject(path);
        outcome = "protection " + std::to_string(project->Protection()) + "\n";
        for (const auto& component : project->Components()->All()) {
            const auto module = component->Module();
            outcome += component->Name() + " " + std::to_string(component->Type()) + "\n" +
                       module->Lines(1, module->CountOfLines()) + "\n";
        }
    } catch (const RuntimeError& error) {
        outcome = "fails: " + error.Problem();
    }
    UseContainerReaders(ContainerReaders::Platform);
    return outcome;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<fs::path> SampleDocuments()
{
    std::vector<fs::path> documents;
    const fs::path samples = fs::path(QUILLMARK_SHARED_DIR) / "testdata" / "office";
    if (fs::exists(samples)) {
        for (const auto& entry : fs::recursive_directory_iterator(samples)) {
            if (entry.is_regular_file() && IsDocumentPath(entry.path().string())) {
                documents.push_back(entry.path());
            }
        }
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

class OwnReaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = fs::temp_directory_path() / ("quillmark-own-readers-" + std::to_string(::getpid()));
    }
    void TearDown() override { fs::remove(path_); }

    // The copy's outcome under both readers; counts the copies that loaded.
    void ExpectAgreement(const std::string& bytes, const std::string& what)
    {
        testing::WriteFile(path_.string(), bytes);
        const std::string own = Outcome(path_.string(), ContainerReaders::Own);
        EXPECT_EQ(own, Outcome(path_.string(), ContainerReaders::Platform)) << what;
        loaded_ += own.starts_with("fails: ") ? 0 : 1;
    }

    fs::path path_;
    int loaded_ = 0;
};

TEST_F(OwnReaders, AgreeWithLibgsfOnEverySampleDocument)
{
    const std::vector<fs::path> documents = SampleDocuments();
    if (documents.empty()) {
        GTEST_SKIP() << "no sample documents";
    }
    for (const fs::path& document : documents) {
        const std::string own = Outcome(document.string(), ContainerReaders::Own);
        EXPECT_EQ(own, Outcome(document.string(), ContainerReaders::Platform)) << document;
        EXPECT_FALSE(own.starts_with("fails: ")) << document << ": " << own;
    }
}

TEST_F(OwnReaders, AgreeWithLibgsfOnDamagedCopies)
{
    std::vector<std::pair<std::string, std::string>> originals;
    for (const fs::path& document : SampleDocuments()) {
        originals.emplace_back(document.filename().string(), ReadBytes(document));
    }
    for (const auto& [name, bytes] : originals) {
        const std::size_t step = bytes.size() / 40 + 1;
        for (std::size_t cut = 0; cut < bytes.size(); cut += step) {
            ExpectAgreement(bytes.substr(0, cut), name + " cut at " + std::to_string(cut));
        }
        for (std::size_t at = 0; at < bytes.size(); at += step / 2 + 1) {
            std::string flipped = bytes;
            flipped[at] = static_cast<char>(~flipped[at]);
            ExpectAgreement(flipped, name + " flipped at " + std::to_string(at));
        }
    }
    if (originals.empty()) {
        GTEST_SKIP() << "no sample documents";
    }
    EXPECT_GT(loaded_, 0); // flips in unused sectors leave the project readable
}

} // namespace
} // namespace quillmark
