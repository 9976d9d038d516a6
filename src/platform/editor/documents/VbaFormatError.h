#pragma once

#include <stdexcept>
#include <string>

namespace quillmark {

// A VBA project's streams do not follow the file format; the message says what is wrong.
class VbaFormatError : public std::runtime_error {
public:
    explicit VbaFormatError(const std::string& what) : std::runtime_error(what) {}
};

// Data that would expand beyond the size we accept: damaged or hostile, never worth a retry.
class VbaTooLargeError : public VbaFormatError {
public:
    using VbaFormatError::VbaFormatError;
};

} // namespace quillmark
