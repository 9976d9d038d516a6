#include "cli/site/DeclaredNames.h"

namespace quillmark::cli {

void DeclaredNames::StartBlock()
{
    if (!procedure_)
        moduleNames_.merge(locals_);
    procedure_ = false;
    locals_.clear();
}

void DeclaredNames::StartLine(bool continued)
{
    if (continued)
        return;
    context_ = Context::None;
    depth_ = 0;
    procedureName_ = false;
    variableName_ = false;
    afterProperty_ = false;
    afterTypeOf_ = false;
    external_ = false;
}

void DeclaredNames::Keyword(std::string_view keyword)
{
    const bool procedure = keyword == "Sub" || keyword == "Function" || keyword == "Event" ||
                           (afterProperty_ && (keyword == "Get" || keyword == "Let" || keyword == "Set"));
    afterProperty_ = keyword == "Property";
    typeName_ = keyword == "As" || keyword == "New" || keyword == "Implements" || (afterTypeOf_ && keyword == "Is");
    afterTypeOf_ = keyword == "TypeOf" || (afterTypeOf_ && keyword != "Is");
    if (keyword == "Declare" || keyword == "Event")
        external_ = true;
    if (procedure) {
        procedureName_ = true;
        variableName_ = false;
        context_ = Context::None;
        procedure_ = procedure_ || !external_;
    } else if (keyword == "Dim" || keyword == "Static" || keyword == "Const" || keyword == "Private" ||
               keyword == "Public" || keyword == "Global") {
        context_ = Context::Variables;
        depth_ = 0;
        variableName_ = true;
    } else if (keyword != "Optional" && keyword != "ByVal" && keyword != "ByRef" && keyword != "ParamArray" &&
               keyword != "WithEvents") {
        variableName_ = false;
    }
}

void DeclaredNames::Punctuation(char c)
{
    if (c == ' ')
        return;
    typeName_ = false;
    switch (c) {
    case '(':
        ++depth_;
        variableName_ = context_ == Context::Parameters && depth_ == 1;
        return;
    case ')':
        --depth_;
        if (context_ == Context::Parameters && depth_ == 0)
            context_ = Context::None;
        variableName_ = false;
        return;
    case ',':
        variableName_ =
            (context_ == Context::Parameters && depth_ == 1) || (context_ == Context::Variables && depth_ == 0);
        return;
    case ':': StartLine(false); return;
    default: variableName_ = false; return;
    }
}

bool DeclaredNames::Declares(std::string_view name)
{
    typeName_ = false;
    if (procedureName_) {
        procedureName_ = false;
        context_ = Context::Parameters;
        depth_ = 0;
        return true;
    }
    if (variableName_) {
        variableName_ = false;
        if (!external_)
            locals_.emplace(name);
        return true;
    }
    return false;
}

bool DeclaredNames::IsLocal(std::string_view name) const
{
    return (!locals_.empty() && locals_.contains(name)) || (!moduleNames_.empty() && moduleNames_.contains(name));
}

} // namespace quillmark::cli
