#include "cli/manual/BashCompletion.h"

#include "cli/manual/ShellQuoted.h"

namespace quillmark::cli {

namespace {

// The functions that the generated cases call.
constexpr const char* Helpers =
    R"(# The folders and those files among the names that start with $1 whose extension is one of
# the others (in any case; any file when there are none).
_quillmark_files()
{
    local word=$1 name extension
    shift
    compopt -o filenames 2>/dev/null
    while IFS= read -r name; do
        if [[ $# -eq 0 || -d $name ]]; then
            COMPREPLY+=("$name")
            continue
        fi
        for extension; do
            if [[ ${name,,} == *"$extension" ]]; then
                COMPREPLY+=("$name")
                break
            fi
        done
    done < <(compgen -f -- "$word")
}

_quillmark_folders()
{
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$1")
}

# The words of $1 that start with $2.
_quillmark_words()
{
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$2")
}

)";

std::string Joined(const std::vector<std::string>& words, const char* separator)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

// The call that completes a value of this kind from $word; empty for a value of any text.
std::string Completer(const OptionEntry& option)
{
    switch (option.kind) {
    case ValueKind::Choice: return "_quillmark_words " + ShellQuoted(Joined(option.choices, " ")) + " \"$word\"";
    case ValueKind::File: return "_quillmark_files \"$word\"";
    case ValueKind::Folder: return "_quillmark_folders \"$word\"";
    case ValueKind::Project: return "_quillmark_projects \"$word\"";
    case ValueKind::None:
    case ValueKind::Text: break;
    }
    return {};
}

void WriteCommandCase(std::ostream& out, const CommandEntry& command, const std::vector<std::string>& commandNames)
{
    constexpr const char* indent = "            ";
    std::vector<std::string> optionNames;
    const OptionEntry* positional = nullptr;
    out << "        " << (command.name.empty() ? "''" : command.name) << ")\n";
    bool takesValues = false;
    for (const OptionEntry& option : command.options) {
        if (option.names.empty()) {
            positional = positional ? positional : &option;
            continue;
        }
        optionNames.insert(optionNames.end(), option.names.begin(), option.names.end());
        if (option.kind == ValueKind::None)
            continue;
        if (!takesValues)
            out << indent << "case $previous in\n";
        takesValues = true;
        const std::string completer = Completer(option);
        out << indent << "    " << Joined(option.names, "|") << ") " << (completer.empty() ? "" : completer + "; ")
            << "return ;;\n";
    }
    if (takesValues)
        out << indent << "esac\n";
    const std::string options = "_quillmark_words " + ShellQuoted(Joined(optionNames, " ")) + " \"$word\"";
    // The program's own "positional argument" is the command.
    const std::string arguments = command.name.empty()
                                      ? "_quillmark_words " + ShellQuoted(Joined(commandNames, " ")) + " \"$word\""
                                  : positional ? Completer(*positional)
                                               : std::string();
    if (arguments.empty()) {
        out << indent << options << '\n';
    } else {
        out << indent << "if [[ $word == -* ]]; then\n"
            << indent << "    " << options << '\n'
            << indent << "else\n"
            << indent << "    " << arguments << '\n'
            << indent << "fi\n";
    }
    out << indent << ";;\n";
}

} // namespace

void WriteBashCompletion(std::ostream& out, const std::vector<CommandEntry>& table)
{
    std::vector<std::string> commandNames;
    for (auto command = table.begin() + 1; command != table.end(); ++command)
        commandNames.push_back(command->name);
    // The program's options that take a value, whose value is no command.
    std::vector<std::string> valued;
    for (const OptionEntry& option : table.front().options)
        if (!option.names.empty() && option.kind != ValueKind::None)
            valued.insert(valued.end(), option.names.begin(), option.names.end());

    out << "# bash completion for quillmark, made from its own command line (the table that --help shows)\n\n"
        << Helpers << "# Folders, module files and documents.\n_quillmark_projects()\n{\n    _quillmark_files \"$1\"";
    for (const std::string& extension : ProjectExtensions())
        out << ' ' << extension;
    out << "\n}\n\n"
        << "_quillmark()\n"
           "{\n"
           "    local word=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD-1]} command= i\n"
           "    COMPREPLY=()\n"
           "    # bash splits --theme=dark at the \"=\".\n"
           "    if [[ $word == = ]]; then\n"
           "        word=\n"
           "    elif [[ $previous == = ]]; then\n"
           "        previous=${COMP_WORDS[COMP_CWORD-2]}\n"
           "    fi\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n";
    if (!valued.empty())
        out << "            " << Joined(valued, "|") << ") ((i++)) ;;\n";
    out << "            -*) ;;\n"
           "            *) command=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    case $command in\n";
    for (const CommandEntry& command : table)
        WriteCommandCase(out, command, commandNames);
    out << "    esac\n"
           "}\n\n"
           "complete -F _quillmark quillmark\n";
}

} // namespace quillmark::cli
