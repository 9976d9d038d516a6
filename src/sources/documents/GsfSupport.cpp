#include "sources/documents/GsfSupport.h"

#include "sources/documents/VbaFormatError.h"

#include <algorithm>
#include <mutex>

namespace quillmark {

namespace {

void IgnoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer)
{}

void IgnorePrinted(const gchar*)
{}

gsf_off_t CheckedSize(GsfInput* input, const std::string& what, gsf_off_t limit)
{
    const gsf_off_t size = gsf_input_size(input);
    if (size < 0 || size > limit) {
        throw VbaFormatError(what + " is too large (" + std::to_string(size) + " bytes)");
    }
    return size;
}

void ReadInto(GsfInput* input, guint8* buffer, std::size_t size, const std::string& what)
{
    for (std::size_t done = 0; done < size;) {
        const std::size_t step = std::min<std::size_t>(size - done, 64 * 1024);
        if (gsf_input_read(input, step, buffer + done) == nullptr) {
            throw VbaFormatError(what + " is damaged (cannot be read past byte " + std::to_string(done) + ")");
        }
        done += step;
    }
}

} // namespace

void RefuseAsOwnReaderTells(const std::string& libgsfProblem, const std::function<void()>& read)
{
    try {
        read();
    } catch (const RuntimeError& error) {
        throw VbaFormatError(error.Problem());
    }
    throw VbaFormatError(libgsfProblem);
}

void InitGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // libgsf logs in its own domains and in none; a default handler catches them all.
        g_log_set_default_handler(IgnoreLogMessage, nullptr);
        // Some damage it prints straight to the terminal instead ("Header is 0x..." for a zip
        // member's broken header); what is wrong is ours to say.
        g_set_print_handler(IgnorePrinted);
        g_set_printerr_handler(IgnorePrinted);
    });
}

std::string ReadAll(GsfInput* input, const std::string& what, gsf_off_t limit)
{
    std::string data(static_cast<std::size_t>(CheckedSize(input, what, limit)), '\0');
    ReadInto(input, reinterpret_cast<guint8*>(data.data()), data.size(), what);
    return data;
}

} // namespace quillmark
