// Inflation by the JavaScript host (a well-kept zlib port from the npm registry, handed to the
// module as quillmarkInflateRaw), where the module has no zlib of its own.

#include "sources/documents/RawInflate.h"

#include <emscripten.h>

#include <array>
#include <cstdlib>

namespace quillmark {

namespace {

// The bytes inflated into output; -1 when there would be more than it holds, -2 for invalid
// data (the problem then in Module.quillmarkInflateProblem), -3 when the data ends early.
EM_JS(int, HostInflateRaw, (const char* input, std::size_t inputSize, char* output, std::size_t outputSize), {
    return Module.quillmarkInflateRaw(HEAPU8.subarray(input, input + inputSize),
                                      HEAPU8.subarray(output, output + outputSize));
});

EM_JS(char*, HostInflateProblem, (), {
    return allocateUTF8(Module.quillmarkInflateProblem || "its deflated data is invalid");
});

} // namespace

void InflateRaw(std::string_view compressed, std::string& data, const InflateDamage& damaged)
{
    // One byte of room more shows whether the data goes on past the declared size.
    std::string output(data.size() + 1, '\0');
    const int produced = HostInflateRaw(compressed.data(), compressed.size(), output.data(), output.size());
    if (produced == -2) {
        char* problem = HostInflateProblem();
        const std::string text = problem;
        std::free(problem);
        throw damaged(text);
    }
    if (produced == -3) {
        throw damaged("its deflated data ends early");
    }
    if (produced == -1 || static_cast<std::size_t>(produced) > data.size()) {
        throw damaged("it inflates to more than the " + std::to_string(data.size()) + " bytes it declares");
    }
    if (static_cast<std::size_t>(produced) < data.size()) {
        throw damaged("it inflates to fewer than the " + std::to_string(data.size()) + " bytes it declares");
    }
    data.assign(output, 0, data.size());
}

std::uint32_t ZipChecksum(std::string_view data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t value = i;
            for (int bit = 0; bit < 8; ++bit) {
                value = (value & 1) != 0 ? 0xEDB88320 ^ (value >> 1) : value >> 1;
            }
            entries[i] = value;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : data) {
        crc = table[(crc ^ static_cast<std::uint8_t>(c)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFF;
}

} // namespace quillmark
