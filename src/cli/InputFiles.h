#pragma once

#include "platform/files/FileIdentity.h"

#include <map>
#include <string>
#include <vector>

namespace quillmark::cli {

// The files a command reads, known by their identity, so that nothing it writes takes the place
// of one of them, whatever name or link leads there.
class InputFiles {
public:
    // Each path (standard input for "-") and the module files of a folder, of its subfolders
    // too when recursive. What cannot be examined is left to the reading to report.
    InputFiles(const std::vector<std::string>& paths, bool recursive);

    // The input that path is, named as the command found it; nullptr when it is none.
    const std::string* Find(const std::string& path) const;

private:
    std::map<FileIdentity, std::string> files_;
};

} // namespace quillmark::cli
