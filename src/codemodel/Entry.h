#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// A procedure-list entry: the whole module ("*"), its declarations section ("_Declarations_")
// or one procedure by its index name.
struct Entry {
    enum class Kind { WholeModule, Declarations, Procedure };

    Kind kind = Kind::WholeModule;
    std::string procName; // the index name, for a procedure

    static Entry Parse(std::string_view text);
    static Entry Procedure(std::string procName) { return {Kind::Procedure, std::move(procName)}; }
    // The entry as the procedure list shows it.
    std::string Text() const;
    bool operator==(const Entry&) const = default;
};

} // namespace quillmark
