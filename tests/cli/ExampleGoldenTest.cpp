// The bundled example converted module by module must match the reviewed HTML byte for byte.
// A file examples/expected/Sample/M.html holds module M's "*" conversion; M.links.html the
// same with the link list.
#include "cli/Commands.h"
#include "common/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;

TEST(ExampleGolden, EveryModuleConvertsToItsReviewedHtml)
{
    const fs::path root = fs::path(QUILLMARK_SOURCE_DIR) / "examples";
    const fs::path expected = root / "expected" / "Sample";
    ASSERT_TRUE(fs::is_directory(expected));
    int compared = 0;
    for (const auto& file : fs::directory_iterator(expected)) {
        std::string module = file.path().stem().string();
        Options options;
        options.paths = {(root / "Sample").string()};
        options.links = module.size() > 6 && module.ends_with(".links");
        if (options.links)
            module.resize(module.size() - 6);
        options.module = module;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(Convert(options, out, err), kDone) << module << ": " << err.str();
        EXPECT_EQ(out.str(), testing::ReadFileText(file.path())) << file.path();
        ++compared;
    }
    EXPECT_GE(compared, 3);
}

} // namespace
} // namespace quillmark::cli
