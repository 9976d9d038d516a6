#pragma once

#include <stdexcept>
#include <string>

namespace quillmark {

// A project that cannot be read: the file and what is wrong with it, for the user.
class SourceError : public std::runtime_error {
public:
    SourceError(std::string path, std::string problem)
        : std::runtime_error(path + ": " + problem), path_(std::move(path)), problem_(std::move(problem))
    {}
    const std::string& Path() const { return path_; }
    const std::string& Problem() const { return problem_; }

private:
    std::string path_;
    std::string problem_;
};

} // namespace quillmark
