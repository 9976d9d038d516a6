#include "sources/EncodingConverter.h"

#include "base/RuntimeError.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace quillmark {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

class Converter {
public:
    explicit Converter(const std::string& from, const std::string& to = "UTF-8")
        : cd_(iconv_open(to.c_str(), from.c_str()))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw UnknownEncoding(from == "UTF-8" ? to : from);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Bytes not valid in the encoding throw, or with a replacement unit become U+FFFD, unit
    // bytes at a time.
    // what says what failed ("bytes not valid in CP932").
    std::string Convert(std::string_view bytes, const std::string& what, std::size_t replacementUnit = 0)
    {
        std::string out(bytes.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(bytes.data()); // iconv's signature; the input is not written
        std::size_t inLeft = bytes.size();
        std::size_t done = 0;
        while (true) {
            char* outPtr = out.data() + done;
            std::size_t outLeft = out.size() - done;
            const std::size_t result = iconv(cd_, inLeft > 0 ? &in : nullptr, &inLeft, &outPtr, &outLeft);
            done = out.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) {
                if (inLeft == 0)
                    break;
                continue;
            }
            if (errno == E2BIG || (replacementUnit > 0 && outLeft < kReplacement.size())) {
                out.resize(out.size() * 2);
                continue;
            }
            if (replacementUnit > 0) {
                out.replace(done, kReplacement.size(), kReplacement);
                done += kReplacement.size();
                const std::size_t skip = std::min(replacementUnit, inLeft);
                in += skip;
                inLeft -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                continue;
            }
            const std::size_t offset = bytes.size() - inLeft;
            throw RuntimeError(err::InvalidCall, {}, what + " at offset " + std::to_string(offset));
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::size_t replacementUnit)
{
    return Converter(encoding).Convert(bytes, "bytes not valid in " + encoding, replacementUnit);
}

std::string ConvertFromUtf8(std::string_view text, const std::string& encoding)
{
    return Converter("UTF-8", encoding).Convert(text, "a character that " + encoding + " lacks");
}

} // namespace quillmark
