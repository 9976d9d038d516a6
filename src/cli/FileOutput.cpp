#include "cli/FileOutput.h"

namespace quillmark::cli {

FileOutput::FileOutput(const std::string& path) : file_(path)
{}

bool FileOutput::Write(std::string_view text)
{
    if (error_)
        return false;
    try {
        file_.Write(text);
        return true;
    } catch (...) {
        error_ = CurrentError();
        return false;
    }
}

void FileOutput::Commit()
{
    if (error_)
        throw *error_;
    file_.Commit();
}

FileOutput::int_type FileOutput::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char one = traits_type::to_char_type(c);
    return Write(std::string_view(&one, 1)) ? c : traits_type::eof();
}

std::streamsize FileOutput::xsputn(const char* text, std::streamsize count)
{
    return Write(std::string_view(text, static_cast<std::size_t>(count))) ? count : 0;
}

} // namespace quillmark::cli
