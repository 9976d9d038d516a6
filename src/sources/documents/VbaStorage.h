#pragma once

#include <memory>
#include <optional>
#include <string>

namespace quillmark {

// The storage of a document that holds its VBA project (the PROJECT stream and the VBA
// storage with dir and the module streams), whatever the container around it.
class VbaStorage {
public:
    // Opens the document at path: a compound file (.xls, .doc, a bare vbaProject.bin ...) or a
    // zip package with a vbaProject part. Throws VbaFormatError with the problem when it holds
    // no readable VBA project.
    static std::unique_ptr<VbaStorage> Open(const std::string& path);

    virtual ~VbaStorage() = default;

    // The whole stream, or nothing when it is absent. Names are matched ignoring case; a
    // path under the project storage is given as "VBA/dir". Throws VbaFormatError when the
    // stream cannot be read, or is absent because the file is damaged.
    virtual std::optional<std::string> Stream(const std::string& path) = 0;
};

} // namespace quillmark
