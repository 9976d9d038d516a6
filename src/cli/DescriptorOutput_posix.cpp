#include "cli/DescriptorOutput.h"

#include <cerrno>
#include <unistd.h>

namespace quillmark::cli {

bool DescriptorOutput::WriteAll(const char* text, std::size_t count)
{
    while (count > 0 && error_ == 0) {
        const ssize_t written = ::write(descriptor_, text, count);
        if (written < 0) {
            if (errno != EINTR)
                error_ = errno;
            continue;
        }
        text += written;
        count -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

} // namespace quillmark::cli
