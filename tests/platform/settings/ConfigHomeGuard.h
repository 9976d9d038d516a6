#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

namespace quillmark::testing {

// Points XDG_CONFIG_HOME at a fresh temporary folder for the object's lifetime.
class ConfigHomeGuard {
public:
    explicit ConfigHomeGuard(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("quillmark-config-" + name + "-" + std::to_string(::getpid())))
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            previous_ = old;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~ConfigHomeGuard()
    {
        if (previous_)
            ::setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(path_);
    }
    ConfigHomeGuard(const ConfigHomeGuard&) = delete;
    ConfigHomeGuard& operator=(const ConfigHomeGuard&) = delete;

    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

} // namespace quillmark::testing
