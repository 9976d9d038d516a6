#pragma once

#include "sources/documents/Containers.h"

#include <gsf/gsf.h>

#include <functional>
#include <memory>
#include <string>

namespace quillmark {

struct GObjectUnref {
    void operator()(void* object) const
    {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

class ErrorHolder {
public:
    ErrorHolder() = default;
    ErrorHolder(const ErrorHolder&) = delete;
    ErrorHolder& operator=(const ErrorHolder&) = delete;
    ~ErrorHolder() { g_clear_error(&error_); }
    GError** operator&() { return &error_; }
    std::string Message() const { return error_ != nullptr ? error_->message : "unknown failure"; }

private:
    GError* error_ = nullptr;
};

// Refuses what libgsf refused to open. libgsf names little ("Broken zip file structure"); our own
// reader, read(), which the other editions use, says where the damage is, and then the message is
// the same everywhere. libgsf's own words stand when ours reads the container.
[[noreturn]] void RefuseAsOwnReaderTells(const std::string& libgsfProblem, const std::function<void()>& read);

// Initialises libgsf once and keeps everything it and GLib log off the terminal: a damaged
// file makes them warn, and our own errors say what is wrong.
void InitGsf();

// The whole input; what names it in errors. Throws VbaFormatError when it is larger than
// limit or cannot be read.
std::string ReadAll(GsfInput* input, const std::string& what, gsf_off_t limit = MaxStreamSize);

} // namespace quillmark
