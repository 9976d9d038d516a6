// quillmark-manual DIR: writes the manual page quillmark.1, the bash completion quillmark.bash
// and the zsh completion _quillmark into DIR, from the command line that quillmark parses. A
// step of the build; not installed.
#include "cli/CommandLine.h"
#include "cli/manual/BashCompletion.h"
#include "cli/manual/ManPage.h"
#include "cli/manual/ZshCompletion.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace quillmark::cli;
    if (argc != 2) {
        std::cerr << "usage: quillmark-manual DIR\n";
        return kUsage;
    }
    CommandLine line;
    const std::vector<CommandEntry> table = CommandTableOf(line.app);
    const std::filesystem::path folder = argv[1];
    const std::pair<const char*, void (*)(std::ostream&, const std::vector<CommandEntry>&)> files[] = {
        {"quillmark.1",
         [](std::ostream& out, const std::vector<CommandEntry>& t) { WriteManPage(out, t, QUILLMARK_VERSION); }},
        {"quillmark.bash", &WriteBashCompletion},
        {"_quillmark", &WriteZshCompletion},
    };
    for (const auto& [name, write] : files) {
        std::ofstream out(folder / name, std::ios::binary);
        write(out, table);
        out.close();
        if (!out) {
            std::cerr << "quillmark-manual: cannot write " << (folder / name).string() << ": " << std::strerror(errno)
                      << '\n';
            return kFailed;
        }
    }
    return kDone;
}
