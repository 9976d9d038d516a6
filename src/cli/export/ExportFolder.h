#pragma once

#include "cli/site/SiteFolder.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quillmark::cli {

// The folder that export writes into, as site writes its own: nothing leaves it, each file is
// replaced whole or not at all. The one place that knows how the site's writing is done.
class ExportFolder {
public:
    // folder exists; waiting is called before the run waits for another that writes there.
    // Throws RuntimeError.
    ExportFolder(const std::filesystem::path& folder, const std::function<void()>& waiting);

    // The file at path in the folder ("/"-separated), its folders made, as the user would name
    // it. Throws RuntimeError when it cannot be written there.
    std::string FileFor(std::string_view path);

    // Writes bytes to the file at path in the folder. Throws RuntimeError.
    void Write(std::string_view path, std::string_view bytes);

private:
    std::filesystem::path root_;
    SiteFolder folder_;
};

} // namespace quillmark::cli
