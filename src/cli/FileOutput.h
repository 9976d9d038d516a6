#pragma once

#include "platform/files/OutputFile.h"

#include <streambuf>
#include <string>

namespace quillmark::cli {

// A stream buffer over the file that -o names, replaced whole or not at all (OutputFileWriter).
// The first failure is kept for the message.
class FileOutput final : public std::streambuf {
public:
    explicit FileOutput(const std::string& path);

    // Empty when everything went well and the file now holds what was written.
    std::string Commit();
    const std::string& Error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    bool Write(std::string_view text);

    OutputFileWriter file_;
    std::string error_;
};

} // namespace quillmark::cli
