// The bundled example converted module by module must match the reviewed HTML byte for byte.
// A file examples/expected/Sample/M.html holds module M's "*" conversion; M.links.html the
// same with the link list; M.links.inline-editor.html that with inline styles in the editor's
// theme.
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
        // M[.links][.inline-THEME]: module M, with its link list, styled inline in THEME.
        std::istringstream parts(file.path().stem().string());
        std::string module;
        std::getline(parts, module, '.');
        Options options;
        options.paths = {(root / "Sample").string()};
        for (std::string part; std::getline(parts, part, '.');) {
            options.links = options.links || part == "links";
            if (part.starts_with("inline-")) {
                options.inlineStyles = true;
                options.theme = ThemeNamed(part.substr(7)).value();
            }
        }
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
