#pragma once

#include "cli/site/SiteFolder.h"

#include <filesystem>
#include <string_view>

namespace quillmark::cli {

// The folder that export writes into, as site writes its own: nothing leaves it, each file is
// replaced whole or not at all. The one place that knows how the site's writing is done.
class ExportFolder {
public:
    // folder exists. Throws RuntimeError.
    explicit ExportFolder(const std::filesystem::path& folder);

    // Where the file at path in the folder ("/"-separated) lies, its folders made. Throws
    // RuntimeError when that would be outside the folder.
    std::string FileFor(std::string_view path);

    // Writes bytes to the file at path in the folder. Throws RuntimeError.
    void Write(std::string_view path, std::string_view bytes);

private:
    SiteFolder folder_;
};

} // namespace quillmark::cli
