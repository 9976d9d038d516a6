// Inflation and checksums by zlib.

#include "sources/documents/RawInflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>

namespace quillmark {

void InflateRaw(std::string_view compressed, std::string& data, const InflateDamage& damaged)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        throw std::bad_alloc();
    }
    struct End {
        z_stream& stream;
        ~End() { inflateEnd(&stream); }
    } end{stream};
    std::size_t produced = 0;
    for (int status = Z_OK; status != Z_STREAM_END;) {
        if (stream.avail_in == 0) {
            if (compressed.empty()) {
                throw damaged("its deflated data ends early");
            }
            const std::size_t step = std::min<std::size_t>(compressed.size(), UINT_MAX);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
            stream.avail_in = static_cast<uInt>(step);
            compressed.remove_prefix(step);
        }
        // Past the declared size, room for one byte more shows whether the data goes on.
        char spare = 0;
        const bool full = produced == data.size();
        const auto room = full ? 1u : static_cast<uInt>(std::min<std::size_t>(data.size() - produced, UINT_MAX));
        stream.next_out = reinterpret_cast<Bytef*>(full ? &spare : data.data() + produced);
        stream.avail_out = room;
        const std::size_t before = stream.avail_in;
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t made = room - stream.avail_out;
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            throw damaged(stream.msg != nullptr ? stream.msg : "its deflated data is invalid");
        }
        if (full && made > 0) {
            throw damaged("it inflates to more than the " + std::to_string(data.size()) + " bytes it declares");
        }
        if (made == 0 && stream.avail_in == before && stream.avail_in > 0 && status != Z_STREAM_END) {
            throw damaged("its deflated data is invalid");
        }
        produced += full ? 0 : made;
    }
    if (produced != data.size()) {
        throw damaged("it inflates to fewer than the " + std::to_string(data.size()) + " bytes it declares");
    }
}

std::uint32_t ZipChecksum(std::string_view data)
{
    return static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

} // namespace quillmark
