// Feeds arbitrary bytes to the decompressor and the dir and PROJECT stream parsers. The first
// byte picks the text offset for the module source search; the rest is the stream.
#include "sources/documents/DirStream.h"
#include "sources/documents/ProjectStream.h"
#include "sources/documents/VbaDecompression.h"
#include "sources/documents/VbaFormatError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t Limit = 1024 * 1024;

// Damage is reported as a damaged format or as data too large; any other failure is a finding.
void ExpectDamage(const quillmark::RuntimeError& error)
{
    if (error.Number() != quillmark::err::BadFileFormat && !quillmark::IsVbaTooLarge(error))
        throw error;
}

void Decompress(std::string_view data)
{
    try {
        const std::string dir = quillmark::DecompressContainer(data, Limit);
        quillmark::ParseDirStream(dir);
    } catch (const quillmark::RuntimeError& error) {
        ExpectDamage(error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    Decompress(data);
    try {
        quillmark::DecompressModuleSource(data, bytes[0], Limit);
    } catch (const quillmark::RuntimeError& error) {
        ExpectDamage(error);
    }
    try {
        quillmark::ParseDirStream(data);
    } catch (const quillmark::RuntimeError& error) {
        ExpectDamage(error);
    }
    try {
        quillmark::ParseProjectStream(data);
    } catch (const quillmark::RuntimeError& error) {
        ExpectDamage(error);
    }
    quillmark::DecryptProjectField(data);
    return 0;
}
