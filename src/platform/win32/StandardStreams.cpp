#include "platform/win32/StandardStreams.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <io.h>

namespace quillmark::win32 {
namespace {

int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return EPIPE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_INVALID_HANDLE: return EBADF;
    default: return EIO;
    }
}

// Where the last whole UTF-8 character of text ends.
std::size_t WholeCharacters(std::string_view text)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if (byte < 0x80)
            return text.size();
        if (byte >= 0xC0) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return length > back ? text.size() - back : text.size();
        }
    }
    return text.size();
}

int WriteConsole(HANDLE console, std::string& pending, std::string_view text)
{
    pending += text;
    const std::size_t whole = WholeCharacters(pending);
    const std::wstring wide = Widen(std::string_view(pending).substr(0, whole));
    pending.erase(0, whole);
    constexpr std::size_t Piece = 8192; // the console takes large writes badly
    for (std::size_t at = 0; at < wide.size();) {
        std::size_t count = std::min(Piece, wide.size() - at);
        if (at + count < wide.size() && IS_HIGH_SURROGATE(wide[at + count - 1]))
            --count;
        DWORD written = 0;
        if (!::WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(count), &written, nullptr) || written == 0)
            return ErrnoOf(::GetLastError());
        at += written;
    }
    return 0;
}

} // namespace

void UseBinaryStandardStreams()
{
    for (FILE* stream : {stdin, stdout, stderr})
        ::_setmode(::_fileno(stream), _O_BINARY);
}

int WriteText(int descriptor, std::string_view text)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE)
        return EBADF;
    struct Stream {
        HANDLE handle = INVALID_HANDLE_VALUE;
        bool console = false;
        std::string pending; // a character's first bytes
    };
    static std::mutex lock;
    static std::map<int, Stream> streams;
    const std::lock_guard guard(lock);
    Stream& stream = streams[descriptor];
    if (stream.handle != handle) {
        // A console opened only for writing (CON) cannot be asked for its mode, yet takes wide
        // text; anything else refuses it.
        DWORD mode = 0;
        DWORD written = 0;
        stream = {handle, ::GetConsoleMode(handle, &mode) || ::WriteConsoleW(handle, L"", 0, &written, nullptr), {}};
    }
    if (stream.console)
        return WriteConsole(handle, stream.pending, text);
    while (!text.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 30));
        if (!::WriteFile(handle, text.data(), size, &written, nullptr))
            return ErrnoOf(::GetLastError());
        text.remove_prefix(written);
    }
    return 0;
}

} // namespace quillmark::win32
