#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace quillmark::testing {

// A fresh folder named "quillmark-NAME", inside a folder of its own under the system's
// temporary folder so that test runs side by side never share it; removed with the object.
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "files")
    {
        std::string parent = (std::filesystem::temp_directory_path() / "quillmark-XXXXXX").string();
        if (!::mkdtemp(parent.data()))
            throw std::runtime_error("cannot make a temporary folder in " + parent);
        parent_ = parent;
        path_ = parent_ / ("quillmark-" + name);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(parent_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes bytes to a file in the folder (its folders made as needed) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path parent_;
    std::filesystem::path path_;
};

} // namespace quillmark::testing
