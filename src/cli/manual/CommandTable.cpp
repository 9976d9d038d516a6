#include "cli/manual/CommandTable.h"

#include "sources/DocumentPath.h"
#include "sources/ModuleFiles.h"

#include <algorithm>
#include <cctype>

namespace quillmark::cli {

namespace {

std::string Trimmed(std::string_view text)
{
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(Trimmed(text.substr(start, end - start)));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// The values that a check's description names: CLI11's "{a,b}" for a set and "{a->0,b->1}" for
// a map, or our "a|b"; none for a description of anything else ("LINES", "UINT in [1 - 8]").
std::vector<std::string> ChoicesNamed(std::string_view description)
{
    if (const std::size_t open = description.find('{'); open != std::string_view::npos) {
        const std::size_t close = description.find('}', open);
        if (close == std::string_view::npos)
            return {};
        std::vector<std::string> choices = Split(description.substr(open + 1, close - open - 1), ',');
        for (std::string& choice : choices)
            choice = Trimmed(std::string_view(choice).substr(0, choice.find("->")));
        return choices;
    }
    const bool word = std::all_of(description.begin(), description.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == '|';
    });
    if (!word || description.find('|') == std::string_view::npos)
        return {};
    return Split(description, '|');
}

std::vector<std::string> ChoicesOf(CLI::Option& option)
{
    for (int i = 0;; ++i) {
        CLI::Validator* check = nullptr;
        try {
            check = option.get_validator(i);
        } catch (const CLI::OptionNotFound&) {
            return {};
        }
        if (std::vector<std::string> choices = ChoicesNamed(check->get_description()); !choices.empty())
            return choices;
    }
}

// By the value's name, as the options name it: PATH a project, FILE or LIBRARY a file, DIR a
// folder.
ValueKind KindOf(const OptionEntry& entry)
{
    if (entry.value.empty())
        return ValueKind::None;
    if (!entry.choices.empty())
        return ValueKind::Choice;
    if (entry.value == "PATH")
        return ValueKind::Project;
    if (entry.value == "FILE" || entry.value == "LIBRARY")
        return ValueKind::File;
    if (entry.value == "DIR")
        return ValueKind::Folder;
    return ValueKind::Text;
}

OptionEntry EntryOf(CLI::Option& option)
{
    OptionEntry entry;
    for (const std::string& name : option.get_snames())
        entry.names.push_back("-" + name);
    for (const std::string& name : option.get_lnames())
        entry.names.push_back("--" + name);
    if (!option.nonpositional())
        entry.value = option.get_name();
    else if (option.get_items_expected_max() > 0) {
        const std::string type = option.get_type_name();
        entry.value = type.substr(0, type.find(':'));
    }
    entry.choices = ChoicesOf(option);
    entry.kind = KindOf(entry);
    entry.description = option.get_description();
    entry.required = option.get_required();
    entry.repeatable = option.get_items_expected_max() > 1 ||
                       (!entry.value.empty() && option.get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll);
    return entry;
}

CommandEntry CommandOf(CLI::App& command, std::string name)
{
    CommandEntry entry{std::move(name), command.get_description(), {}};
    // Hidden options (no group) are left out, as --help leaves them out.
    const auto shown = [](CLI::Option* option) { return !option->get_group().empty(); };
    for (CLI::Option* option : command.get_options(shown))
        if (option->nonpositional())
            entry.options.push_back(EntryOf(*option));
    for (CLI::Option* option : command.get_options(shown))
        if (!option->nonpositional())
            entry.options.push_back(EntryOf(*option));
    return entry;
}

} // namespace

std::vector<CommandEntry> CommandTableOf(CLI::App& app)
{
    std::vector<CommandEntry> table{CommandOf(app, {})};
    for (CLI::App* command : app.get_subcommands([](CLI::App* c) { return !c->get_group().empty(); }))
        table.push_back(CommandOf(*command, command->get_name()));
    return table;
}

std::vector<std::string> ProjectExtensions()
{
    std::vector<std::string> extensions;
    for (const auto list : {ModuleFileExtensions(), DocumentExtensions()})
        extensions.insert(extensions.end(), list.begin(), list.end());
    return extensions;
}

} // namespace quillmark::cli
