#pragma once

#include "base/RuntimeError.h"
#include "platform/files/OutputFile.h"

#include <optional>
#include <streambuf>
#include <string>

namespace quillmark::cli {

// A stream buffer over the file that -o names, replaced whole or not at all (OutputFileWriter).
// A stream cannot pass a failure on, so the first one is kept for Commit to throw.
class FileOutput final : public std::streambuf {
public:
    explicit FileOutput(const std::string& path);

    // Puts the file in place with what was written; throws RuntimeError for the first failure.
    void Commit();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    bool Write(std::string_view text);

    OutputFileWriter file_;
    std::optional<RuntimeError> error_;
};

} // namespace quillmark::cli
