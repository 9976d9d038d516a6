#!/usr/bin/env python3
"""Writes the code-page tables of the web build (sources/CodePageTables.cpp) from glibc's iconv,
so that a module decodes in the browser exactly as the native command decodes it.

Usage: code_page_tables.py OUTPUT.cpp
"""
import ctypes
import ctypes.util
import sys

# The code pages that VBA projects are saved in, by the names CodePageEncoding and the module
# file reader give them.
# glibc reads CP1255 and CP1258 with state (combining marks), which a table cannot hold: the web
# build refuses them as unknown.
SINGLE_BYTE = (["CP%d" % n for n in (437, 850, 852, 866, 874, 1250, 1251, 1252, 1253, 1254, 1256, 1257)]
               + ["ISO-8859-%d" % n for n in (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15)]
               + ["MACINTOSH", "ASCII", "KOI8-R", "KOI8-U"])
# EUC-JP has characters of three bytes, which a table of two cannot hold: refused too.
DOUBLE_BYTE = ["CP932", "GBK", "CP949", "BIG5"]

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
libc.iconv_close.argtypes = [ctypes.c_void_p]
EINVAL = 22
FAILED = ctypes.c_size_t(-1).value


def decode(cd, data):
    """The text of data, "incomplete" for the start of a longer character, or None."""
    libc.iconv(cd, None, None, None, None)
    inbuf = ctypes.create_string_buffer(data, len(data))
    out = ctypes.create_string_buffer(64)
    inptr, outptr = ctypes.c_char_p(ctypes.addressof(inbuf)), ctypes.c_char_p(ctypes.addressof(out))
    inleft, outleft = ctypes.c_size_t(len(data)), ctypes.c_size_t(64)
    result = libc.iconv(cd, ctypes.byref(inptr), ctypes.byref(inleft), ctypes.byref(outptr), ctypes.byref(outleft))
    if result == FAILED:
        return "incomplete" if ctypes.get_errno() == EINVAL and inleft.value == len(data) else None
    if inleft.value:
        return None
    return out.raw[:64 - outleft.value].decode("utf-8")


def encode(name, text):
    """glibc's bytes of text in the code page, or None."""
    cd = libc.iconv_open(name.encode(), b"UTF-8")
    data = text.encode("utf-8")
    inbuf = ctypes.create_string_buffer(data, len(data))
    out = ctypes.create_string_buffer(16)
    inptr, outptr = ctypes.c_char_p(ctypes.addressof(inbuf)), ctypes.c_char_p(ctypes.addressof(out))
    inleft, outleft = ctypes.c_size_t(len(data)), ctypes.c_size_t(16)
    result = libc.iconv(cd, ctypes.byref(inptr), ctypes.byref(inleft), ctypes.byref(outptr), ctypes.byref(outleft))
    libc.iconv_close(cd)
    return None if result == FAILED or inleft.value else out.raw[:16 - outleft.value]


def preferred(name, singles, doubles):
    """For characters that several byte sequences decode to, the one glibc encodes them as."""
    sources = {}
    for byte, character in enumerate(singles):
        if character < 0xFFFD:
            sources.setdefault(character, []).append(byte)
    for lead, row in doubles.items():
        for trail, character in enumerate(row):
            if character < 0xFFFD:
                sources.setdefault(character, []).append(lead << 8 | trail)
    choices = []
    for character, sequences in sorted(sources.items()):
        if len(sequences) > 1:
            bytes_ = encode(name, chr(character))
            if bytes_ is not None and len(bytes_) <= 2:
                choices.append((character, int.from_bytes(bytes_, "big") | (0x10000 if len(bytes_) == 2 else 0)))
    return choices


def table(name):
    cd = libc.iconv_open(b"UTF-8", name.encode())
    if cd in (None, FAILED):
        sys.exit("iconv does not know " + name)
    singles, doubles, wide = [], {}, []
    for byte in range(256):
        text = decode(cd, bytes([byte]))
        if text == "incomplete":
            singles.append(0xFFFE)
            row = []
            for trail in range(256):
                pair = decode(cd, bytes([byte, trail]))
                if pair in (None, "incomplete"):
                    row.append(0xFFFF)
                elif len(pair) == 1 and ord(pair) < 0xFFFE:
                    row.append(ord(pair))
                else:
                    row.append(0xFFFD)
                    wide.append((byte << 8 | trail, pair))
            doubles[byte] = row
        elif text is None:
            singles.append(0xFFFF)
        else:
            assert len(text) == 1 and ord(text) < 0xFFFE, (name, byte)
            singles.append(ord(text))
    libc.iconv_close(cd)
    return singles, doubles, wide


def numbers(values):
    return ",".join("0x%X" % v for v in values)


def main(output):
    lines = ["// Made by scripts/code_page_tables.py from glibc's iconv at build time.",
             '#include "sources/CodePageTables.h"', "", "namespace quillmark {", "", "namespace {", ""]
    entries = []
    for index, name in enumerate(SINGLE_BYTE + DOUBLE_BYTE):
        singles, doubles, wide = table(name)
        lines.append("constexpr std::uint16_t Single%d[256] = {%s};" % (index, numbers(singles)))
        rows = []
        for lead in range(256):
            if lead in doubles:
                lines.append("constexpr std::uint16_t Double%d_%d[256] = {%s};" % (index, lead, numbers(doubles[lead])))
                rows.append("Double%d_%d" % (index, lead))
            else:
                rows.append("nullptr")
        doubleName = "nullptr"
        if doubles:
            lines.append("constexpr const std::uint16_t* Doubles%d[256] = {%s};" % (index, ",".join(rows)))
            doubleName = "Doubles%d" % index
        wideName, wideCount = "nullptr", 0
        if wide:
            lines.append("constexpr WideCharacter Wide%d[] = {%s};" % (index, ",".join(
                '{0x%X, "%s"}' % (key, "".join("\\x%02X" % b for b in text.encode())) for key, text in wide)))
            wideName, wideCount = "Wide%d" % index, len(wide)
        chosen = preferred(name, singles, doubles)
        chosenName = "nullptr"
        if chosen:
            lines.append("constexpr EncodedCharacter Chosen%d[] = {%s};" % (
                index, ",".join("{0x%X, 0x%X}" % pair for pair in chosen)))
            chosenName = "Chosen%d" % index
        entries.append('{"%s", Single%d, %s, %s, %d, %s, %d}' % (
            name, index, doubleName, wideName, wideCount, chosenName, len(chosen)))
    lines += ["", "} // namespace", "",
              "std::span<const CodePageTable> CodePageTables()", "{",
              "    static constexpr CodePageTable Tables[] = {%s};" % ",\n        ".join(entries),
              "    return Tables;", "}", "", "} // namespace quillmark", ""]
    with open(output, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
