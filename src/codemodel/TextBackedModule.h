#pragma once

#include "codemodel/HostObjectModel.h"
#include "codemodel/ModuleText.h"

#include <optional>

namespace quillmark {

// A code module that already holds its lines as text hands them over whole, so that a reader
// needs no call and no copy per line.
class TextBackedModule {
public:
    virtual const ModuleText& Text() const = 0;

protected:
    ~TextBackedModule() = default;
};

// The lines of a code module: its own text when it keeps one, else all of them read from the
// host at once into storage.
const ModuleText& LinesOf(CodeModule& module, std::optional<ModuleText>& storage);

} // namespace quillmark
