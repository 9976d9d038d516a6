// Module files as read from disk or standard input: the encoding guessed (BOMs, UTF-16 without
// one, UTF-8, CP932, CP1252) or given, then the export header and the Attribute lines removed.
// The first byte picks the encoding and the file's extension.
#include "FuzzChecks.h"
#include "base/RuntimeError.h"
#include "sources/ModuleFile.h"
#include "sources/TextDecoding.h"

#include <string>

using namespace quillmark;
using fuzz::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const auto [options, data] = fuzz::Split(bytes, size);
    // Mostly the guess, as most users give no encoding.
    constexpr const char* Encodings[] = {"UTF-8",    "CP932",  "CP1252", "UTF-16LE",
                                         "UTF-16BE", "UTF-16", "UTF-32", "EUC-JP"};
    constexpr const char* Extensions[] = {".bas", ".cls", ".frm", ".txt"};
    const std::string encoding = options < 0x80 ? "" : Encodings[options % 8];

    std::string text;
    try {
        text = DecodeModuleFile(data, encoding);
    } catch (const RuntimeError&) {
        return 0; // refused, as UTF-32 and bytes the given encoding lacks are
    }
    Expect(fuzz::IsUtf8(text), "a module file decodes to UTF-8");
    Expect(!fuzz::HasControls(text, "\t\r\n"), "no control character but tab and line breaks is left");
    Expect(DecodeModuleBytes(std::string(data), encoding) == text, "decoding in place gives the same text");

    const std::string name = DecodeName(data.substr(0, data.find('\0'))); // a file name holds no NUL
    Expect(fuzz::IsUtf8(name) && !fuzz::HasControls(name, ""), "a file name decodes to one line of UTF-8");

    ExportedModule module = ParseModuleFile(text, "Module1", Extensions[options / 8 % 4]);
    Expect(fuzz::IsUtf8(module.name) && !fuzz::HasControls(module.name, ""), "the module's name is one line of UTF-8");
    const ModuleText lines = module.TakeText();
    Expect(VisibleLines(text).Count() == lines.Count(), "both readers of the visible lines agree");
    for (std::int32_t line = 1; line <= lines.Count(); ++line) {
        const std::string_view shown = lines.Line(line);
        Expect(shown.find_first_of("\r\n") == std::string_view::npos, "no line holds a line break");
        Expect(!shown.starts_with("Attribute V"), "no Attribute line is shown");
    }
    return 0;
}
