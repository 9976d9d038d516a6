#pragma once

#include <string>
#include <string_view>

namespace quillmark::cli {

// The UTF-8 text with each character replaced by one that stands for all of its case forms
// (joined through Unicode's one-character case mappings), so that two names that differ only
// in case, as "Ärger" and "ärger" do, have the same key: disks of Windows and macOS hold only
// one of them. Bytes that are not UTF-8 stay as they are.
std::string CaseKey(std::string_view text);

} // namespace quillmark::cli
