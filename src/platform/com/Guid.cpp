#include "platform/com/Guid.h"

#include <cstdio>

namespace quillmark::com {

std::string Guid::ToString() const
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buffer;
}

std::optional<Guid> Guid::Parse(const std::string& text)
{
    std::string_view body = text;
    if (body.size() == 38 && body.front() == '{' && body.back() == '}')
        body = body.substr(1, 36);
    return ParseGuidBody(body);
}

} // namespace quillmark::com
