#include "codemodel/KeywordTable.h"

#include "base/RuntimeError.h"

namespace quillmark {

void KeywordTable::Add(std::string_view key, std::int16_t value)
{
    if (!keys_.emplace(std::string(key), value).second)
        throw RuntimeError(err::DuplicateKey);
    shapes_.set(Shape(key));
}

} // namespace quillmark
