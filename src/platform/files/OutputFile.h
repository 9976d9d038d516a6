#pragma once

#include "platform/files/AtomicFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

// A file the user named for a command's product, written where the shell's ">" would write,
// but never left half written: a regular file is replaced whole on Commit, and one that a
// symbolic link names is replaced in its own folder, the link kept; an existing file that is
// not a regular file (a device, a FIFO, a /proc link to a pipe) is written into directly, never
// replaced. A file the process has open (/dev/stdout, /dev/fd/N, or any name of the file the
// shell opened) is written through that descriptor at its offset, as the shell's ">>" and
// "{ ...; } >" want, never replaced. A read-only file is refused. A missing folder is an error, never made. Twins that an earlier, stopped run left
// beside the file are removed. Throws RuntimeError ("cannot write PATH: the system's reason").
class OutputFileWriter {
public:
    explicit OutputFileWriter(const std::string& path);
    ~OutputFileWriter();
    OutputFileWriter(const OutputFileWriter&) = delete;
    OutputFileWriter& operator=(const OutputFileWriter&) = delete;

    void Write(std::string_view text);
    void Commit();

private:
    std::string path_;
    std::optional<AtomicFileWriter> replaced_;
    int fd_ = -1; // the file written into directly
};

} // namespace quillmark
