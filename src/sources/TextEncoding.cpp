#include "sources/TextEncoding.h"

#include "sources/EncodingConverter.h"
#include "sources/TextDecoding.h"

namespace quillmark {

std::string EncodeFromUtf8(std::string_view text, const std::string& encoding)
{
    return ConvertFromUtf8(text, ConverterName(encoding));
}

} // namespace quillmark
