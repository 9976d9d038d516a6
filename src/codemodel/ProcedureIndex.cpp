#include "codemodel/ProcedureIndex.h"

namespace quillmark {

namespace {

std::string_view KindPrefix(std::int32_t kind)
{
    switch (kind) {
    case vbext_pk::Let: return "Property Let ";
    case vbext_pk::Set: return "Property Set ";
    case vbext_pk::Get: return "Property Get ";
    default: return {};
    }
}

} // namespace

std::string IndexName(std::string_view name, std::int32_t kind)
{
    std::string index(KindPrefix(kind));
    index += name;
    return index;
}

std::string_view DeclaredName(const ProcRecord& record)
{
    std::string_view name = record.ProcName;
    const std::string_view prefix = KindPrefix(record.Kind);
    if (name.starts_with(prefix))
        name.remove_prefix(prefix.size());
    return name;
}

ProcedureIndex IndexOf(std::vector<ProcRecord> procedures)
{
    if (procedures.empty())
        procedures.push_back({});
    return procedures;
}

} // namespace quillmark
