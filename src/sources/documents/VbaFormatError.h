#pragma once

#include "base/RuntimeError.h"

#include <string>

namespace quillmark {

// A VBA project whose streams do not follow the file format: error 321, the problem saying what
// is wrong.
inline RuntimeError VbaFormatError(std::string problem)
{
    return RuntimeError(err::BadFileFormat, {}, std::move(problem));
}

// A sound document that holds no VBA project, such as a workbook saved without macros; told
// apart from damage for those who take it for a project without modules.
inline RuntimeError NoVbaProjectError()
{
    return VbaFormatError("the document contains no VBA project");
}

inline bool IsNoVbaProject(const RuntimeError& error)
{
    return error.Number() == err::BadFileFormat && error.Problem() == NoVbaProjectError().Problem();
}

// A document with a password to open: its whole content, the VBA project with it, is encrypted.
inline RuntimeError EncryptedDocumentError()
{
    return VbaFormatError("the document is encrypted (it has a password to open); remove the password in Office "
                          "and save it again to read its VBA project");
}

inline bool IsEncryptedDocument(const RuntimeError& error)
{
    return error.Number() == err::BadFileFormat && error.Problem() == EncryptedDocumentError().Problem();
}

// Data that would expand beyond the size we accept, damaged or hostile and never worth a retry:
// error 7, as the memory it asks for is refused.
inline RuntimeError VbaTooLargeError(std::string problem)
{
    return RuntimeError(err::OutOfMemory, {}, std::move(problem));
}

inline bool IsVbaTooLarge(const RuntimeError& error)
{
    return error.Number() == err::OutOfMemory;
}

} // namespace quillmark
