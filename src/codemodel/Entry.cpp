#include "codemodel/Entry.h"

namespace quillmark {

namespace {

constexpr std::string_view WholeModuleText = "*";
constexpr std::string_view DeclarationsText = "_Declarations_";

} // namespace

Entry Entry::Parse(std::string_view text)
{
    if (text == WholeModuleText)
        return {Kind::WholeModule, {}};
    if (text == DeclarationsText)
        return {Kind::Declarations, {}};
    return Procedure(std::string(text));
}

std::string Entry::Text() const
{
    switch (kind) {
    case Kind::WholeModule: return std::string(WholeModuleText);
    case Kind::Declarations: return std::string(DeclarationsText);
    case Kind::Procedure: break;
    }
    return procName;
}

} // namespace quillmark
