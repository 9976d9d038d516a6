#include "cli/site/PathClaims.h"

#include "cli/site/CaseKey.h"
#include "cli/site/SitePaths.h"

namespace quillmark::cli {

PathClaims::PathClaims(std::initializer_list<std::string_view> reserved)
{
    for (const std::string_view path : reserved)
        taken_.insert(CaseKey(path));
}

std::string PathClaims::Claim(const std::string& folder, std::string_view name, std::string_view extension)
{
    std::string path = folder + SafeFileName(name, extension);
    std::string key = CaseKey(path);
    if (taken_.insert(key).second)
        return path;
    unsigned& next = next_.try_emplace(std::move(key), 2u).first->second;
    for (;; ++next) {
        path = folder + SafeFileName(name, "-" + std::to_string(next) + std::string(extension));
        if (taken_.insert(CaseKey(path)).second) {
            ++next;
            return path;
        }
    }
}

} // namespace quillmark::cli
