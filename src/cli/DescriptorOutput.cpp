#include "cli/DescriptorOutput.h"

#include "base/RuntimeError.h"

#include <algorithm>

namespace quillmark::cli {

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor_(descriptor)
{
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::~DescriptorOutput()
{
    Drain();
}

void DescriptorOutput::Finish()
{
    Drain();
    if (error_ != 0)
        throw RuntimeError::SystemFailure(error_, "cannot write", "output");
}

bool DescriptorOutput::Drain()
{
    const bool ok = WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return ok;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c)
{
    if (!Drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* text, std::streamsize count)
{
    // A large piece, such as a whole fragment, goes out directly instead of through the buffer.
    if (count < epptr() - pptr()) {
        std::copy(text, text + count, pptr());
        pbump(static_cast<int>(count));
        return count;
    }
    if (!Drain() || !WriteAll(text, static_cast<std::size_t>(count)))
        return 0;
    return count;
}

int DescriptorOutput::sync()
{
    return Drain() ? 0 : -1;
}

} // namespace quillmark::cli
