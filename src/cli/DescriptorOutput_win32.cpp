#include "cli/DescriptorOutput.h"

#include "platform/win32/StandardStreams.h"

namespace quillmark::cli {

// A console is written in wide text, so that Japanese shows whatever its code page.
bool DescriptorOutput::WriteAll(const char* text, std::size_t count)
{
    if (error_ == 0 && count > 0)
        error_ = win32::WriteText(descriptor_, {text, count});
    return error_ == 0;
}

} // namespace quillmark::cli
