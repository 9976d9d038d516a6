// The command as a whole process: exit codes, usage and streams.
#include "common/FileText.h"
#include "common/Shell.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using quillmark::testing::ReadFileText;
using quillmark::testing::TempFolder;

using Result = quillmark::testing::ShellResult;
using quillmark::testing::Shell;

// Runs the command with arguments through the shell; stderr is folded into out when asked, and
// standard output then goes where redirect sends it.
Result Launch(const std::string& arguments, bool withErrors = false, const std::string& redirect = {})
{
    return Shell(std::string(QUILLMARK_BIN) + " " + arguments + (withErrors ? " 2>&1 " : " 2>/dev/null ") + redirect);
}

const std::string kLedger = "Attribute VB_Name = \"Ledger\"\r\nSub A()\r\nEnd Sub\r\n";

TEST(CommandProcess, BadUsageExitsTwoWithTheUsage)
{
    for (const char* arguments : {"", "convert", "frobnicate x", "convert ''", "css dark", "site x",
                                  "site --jobs 0 -o /tmp x", "site --theme blue -o /tmp x"}) {
        const Result r = Launch(arguments, true);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_NE(r.out.find("convert"), std::string::npos) << arguments;
    }
}

// A mistyped command is named with the one meant, before the usage; an option that the command
// lacks, with the option of that command that was meant and no more.
TEST(CommandProcess, AMistypedCommandOrOptionIsNamedWithTheOneMeant)
{
    const struct {
        const char* arguments;
        const char* message;
        bool usage;
    } cases[] = {
        {"conver x", "quillmark: unknown command \"conver\"; did you mean convert?\n", true},
        {"lst x", "quillmark: unknown command \"lst\"; did you mean list?\n", true},
        {"frobnicate x", "quillmark: unknown command \"frobnicate\"\n", true},
        {"site --line-number -o out x",
         "quillmark: unknown option \"--line-number\" for site; did you mean --line-numbers?\n"
         "Run 'quillmark site --help' for every option.\n",
         false},
        {"convert -links x",
         "quillmark: unknown option \"-links\" for convert; did you mean --links?\n"
         "Run 'quillmark convert --help' for every option.\n",
         false},
        {"source --modul=A x",
         "quillmark: unknown option \"--modul\" for source; did you mean --module?\n"
         "Run 'quillmark source --help' for every option.\n",
         false},
        {"--verison",
         "quillmark: unknown option \"--verison\"; did you mean --version?\nRun 'quillmark --help' for every option.\n",
         false},
        {"list --entry x y",
         "quillmark: unknown option \"--entry\" for list\nRun 'quillmark list --help' for every option.\n", false},
        {"convert -x x",
         "quillmark: unknown option \"-x\" for convert\nRun 'quillmark convert --help' for every option.\n", false},
    };
    for (const auto& c : cases) {
        const Result r = Launch(c.arguments, true);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.out.substr(0, r.out.find("usage: ")), c.message) << c.arguments;
        EXPECT_EQ(r.out.find("usage: ") != std::string::npos, c.usage) << c.arguments;
    }
}

TEST(CommandProcess, AModuleFromStandardInput)
{
    quillmark::testing::TempFolder folder("stdin");
    const std::string named = folder.Write("named.txt", "Attribute VB_Name = \"Piped\"\r\nSub A()\r\nEnd Sub\r\n");
    const std::string bare = folder.Write("bare.txt", "Sub A()\r\nEnd Sub\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {"list - <" + named, "MOD Piped\n"},
        {"list - <" + bare, "MOD Module1\n"},
        {"list --module Mine - <" + named, "*\t1\t2\n_Declarations_\t1\t1\nA\t1\t2\n"},
    };
    for (const auto& [arguments, out] : cases) {
        const Result r = Launch(arguments);
        EXPECT_EQ(r.status, 0) << arguments;
        EXPECT_EQ(r.out, out) << arguments;
    }
    EXPECT_EQ(Launch("list - - <" + bare).status, 1);
}

TEST(CommandProcess, HelpExplainsEveryOption)
{
    const Result top = Launch("--help");
    EXPECT_EQ(top.status, 0);
    for (const char* word : {"convert", "list", "source"})
        EXPECT_NE(top.out.find(word), std::string::npos) << word;
    const Result convert = Launch("convert --help");
    for (const char* option : {"--links", "--page", "--inline-styles", "--theme", "--line-numbers", "--title",
                               "--module", "--entry", "--encoding", "PATH"})
        EXPECT_NE(convert.out.find(option), std::string::npos) << option;
}

TEST(CommandProcess, ConvertWritesOnlyTheFragmentToStandardOutput)
{
    quillmark::testing::TempFolder folder("process");
    const std::string file = folder.Write("M.bas", "Attribute VB_Name = \"M\"\r\nBeep\r\n");
    const Result r = Launch("convert " + file);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "<div class=\"CodeArea\"><p id=\"M.Declarations\"><span class=\"Deco5\">Beep</span></p></div>");
    const Result missing = Launch("convert " + folder.Path() + "/gone.bas", true);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("gone.bas"), std::string::npos);
}

TEST(CommandProcess, SiteSaysNothingWhenDoneWithoutATerminal)
{
    quillmark::testing::TempFolder folder("process-site");
    const Result r = Launch("site -o " + folder.Path() + " " + QUILLMARK_SOURCE_DIR + "/examples/Sample", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(std::filesystem::exists(folder.Path() + "/Sample/Ledger.html"));
}

// The page's style sheet handed out is the one a site of that theme uses.
TEST(CommandProcess, ThePagesStyleSheetIsTheSitesOfTheSameTheme)
{
    for (const char* theme : {"light", "dark", "editor"}) {
        quillmark::testing::TempFolder folder("process-css");
        const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
        ASSERT_EQ(Launch("site --theme " + std::string(theme) + " -o " + folder.Path() + " " + sample).status, 0);
        const Result css = Launch("css --page --theme " + std::string(theme));
        EXPECT_EQ(css.status, 0);
        EXPECT_EQ(css.out, quillmark::testing::ReadFileText(folder.Path() + "/quillmark.css")) << theme;
    }
    EXPECT_EQ(Launch("css --theme sepia", true).status, 2);
}

TEST(CommandProcess, OutputThatCannotBeWrittenFailsTheCommand)
{
    const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
    const struct {
        const char* redirect;
        const char* reason;
    } targets[] = {{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}};
    for (const char* command : {"convert", "list", "source"}) {
        for (const auto& target : targets) {
            const std::string arguments = std::string(command) + " --module Ledger " + sample;
            const Result r = Launch(arguments, true, target.redirect);
            EXPECT_EQ(r.status, 1) << arguments;
            EXPECT_EQ(r.out, std::string("quillmark: cannot write output: ") + target.reason + "\n") << arguments;
        }
    }
}

// -o never takes the place of an input, whatever name or link leads to it.
TEST(CommandProcess, OutputIsNeverOneOfTheInputs)
{
    TempFolder folder("output-inputs");
    const std::string dir = folder.Path();
    const std::string file = folder.Write("Ledger.cls", kLedger);
    fs::create_directory(dir + "/proj");
    const std::string tools = folder.Write("proj/TextTools.bas", "Attribute VB_Name = \"TextTools\"\r\n");
    folder.Write("proj/Other.bas", "Attribute VB_Name = \"Other\"\r\n");
    fs::create_symlink(file, dir + "/link.html");
    fs::create_hard_link(file, dir + "/hard.html");
    const struct {
        std::string arguments;
        std::string output; // as -o names it
        std::string input;  // as the message names it
        std::string redirect;
    } cases[] = {
        {"convert -o " + file + " " + file, file, file, ""},
        {"convert -o " + dir + "/link.html " + file, dir + "/link.html", file, ""},
        {"convert -o " + dir + "/hard.html " + file, dir + "/hard.html", file, ""},
        {"convert --module TextTools -o " + tools + " " + dir + "/proj", tools, tools, ""},
        {"convert -o " + file + " -", file, "standard input", "<" + file},
        {"site -o " + dir + "/proj " + dir + "/proj", dir + "/proj", dir + "/proj", ""},
    };
    for (const auto& c : cases) {
        const Result r = Launch(c.arguments, true, c.redirect);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.out, "quillmark: -o " + c.output + ": it is one of the inputs (" + c.input + ")\n") << c.arguments;
        EXPECT_EQ(ReadFileText(file), kLedger) << c.arguments;
        EXPECT_EQ(ReadFileText(tools), "Attribute VB_Name = \"TextTools\"\r\n") << c.arguments;
    }
    EXPECT_FALSE(fs::exists(dir + "/proj/index.html"));

    // A page that is an input through a link is left out.
    fs::create_directories(dir + "/site/Linked.cls");
    const std::string page = folder.Write("site/Linked.cls/Ledger.html", kLedger);
    fs::create_symlink(page, dir + "/Linked.cls");
    const Result r = Launch("site -o " + dir + "/site " + dir + "/Linked.cls", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(page + ": it is one of the inputs (" + dir + "/Linked.cls); module Ledger is left out\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(ReadFileText(page), kLedger);
}

// What the shell's ">" writes into is written into; a regular file is replaced whole, also at
// the end of a link; a missing folder is an error, and a failed command leaves nothing behind.
TEST(CommandProcess, OutputOntoWhatIsNotAPlainFile)
{
    TempFolder folder("output-nodes");
    const std::string dir = folder.Path();
    const std::string module = folder.Write("Ledger.cls", kLedger);
    const std::string fragment = Launch("convert " + module).out;
    fs::create_directory(dir + "/elsewhere");
    const std::string target = folder.Write("elsewhere/target.html", "old");
    fs::create_symlink("elsewhere/target.html", dir + "/link.html");
    fs::create_symlink("elsewhere/new.html", dir + "/dangling.html");
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    // A device like /dev/null, made where the test may make one.
    const bool device = ::mknod((dir + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;

    const Result fifo =
        Launch("convert -o " + dir + "/fifo " + module, false, "& timeout 10 cat " + dir + "/fifo; wait $!");
    EXPECT_EQ(fifo.status, 0);
    EXPECT_EQ(fifo.out, fragment);
    EXPECT_TRUE(fs::is_fifo(dir + "/fifo"));
    const Result proc = Launch("convert -o /proc/self/fd/1 " + module);
    EXPECT_EQ(proc.status, 0);
    EXPECT_EQ(proc.out, fragment);
    if (device) {
        EXPECT_EQ(Launch("convert -o " + dir + "/null " + module).status, 0);
        EXPECT_TRUE(fs::is_character_file(dir + "/null"));
    } else {
        std::puts("mknod is not permitted here; the device case is left out");
    }

    for (const char* link : {"/link.html", "/dangling.html"})
        EXPECT_EQ(Launch("convert -o " + dir + link + " " + module).status, 0) << link;
    EXPECT_TRUE(fs::is_symlink(dir + "/link.html"));
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling.html"));
    EXPECT_EQ(ReadFileText(target), fragment);
    EXPECT_EQ(ReadFileText(dir + "/elsewhere/new.html"), fragment);

    for (const std::string& input : {module, dir + "/nonexistent.bas"}) {
        const Result missing = Launch("convert -o " + dir + "/missing/x.html " + input, true);
        EXPECT_EQ(missing.status, 1) << input;
        EXPECT_EQ(missing.out, "quillmark: cannot write " + dir + "/missing/x.html: No such file or directory\n");
        EXPECT_FALSE(fs::exists(dir + "/missing")) << input;
    }
    const Result site = Launch("site -o " + dir + "/missing/site " + module, true);
    EXPECT_EQ(site.status, 1);
    EXPECT_NE(site.out.find("No such file or directory"), std::string::npos) << site.out;
    EXPECT_EQ(Launch("site -o " + dir + "/site " + dir + "/nonexistent.bas").status, 1);
    EXPECT_FALSE(fs::exists(dir + "/missing"));
    EXPECT_FALSE(fs::exists(dir + "/site"));
}

// A name of a file the shell opened for the command (/dev/stdout, /dev/fd/N, or the file's own
// name) is written through the shell's descriptor, after what the shell wrote there and before
// what it writes next, never in a new file.
TEST(CommandProcess, OutputThroughADescriptorKeepsWhatTheShellWrote)
{
    TempFolder folder("output-descriptor");
    const std::string dir = folder.Path();
    const std::string module = folder.Write("Ledger.cls", kLedger);
    const std::string fragment = Launch("convert " + module).out;
    const std::string file = dir + "/out.html";
    const std::string convert = std::string(QUILLMARK_BIN) + " convert " + module + " -o ";
    const std::pair<std::string, std::string> cases[] = {
        {convert + "/dev/stdout >> " + file, "old\n" + fragment},
        {convert + "/dev/stderr 2>> " + file, "old\n" + fragment},
        {convert + "/dev/fd/3 3>> " + file, "old\n" + fragment},
        {convert + file + " >> " + file, "old\n" + fragment},
        {convert + "/dev/null < /dev/null >> " + file, "old\n"}, // a device read elsewhere is still written
        {"{ echo header; " + convert + "/dev/stdout; echo footer; } > " + file, "header\n" + fragment + "footer\n"},
        {"{ echo header; " + convert + "/proc/self/fd/1; echo footer; } > " + file,
         "header\n" + fragment + "footer\n"},
    };
    for (const auto& [command, expected] : cases) {
        folder.Write("out.html", "old\n");
        const Result r = Shell(command);
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(ReadFileText(file), expected) << command;
    }
}

// A file the user marked read-only is refused and kept, also at the end of a link.
TEST(CommandProcess, OutputOntoAReadOnlyFileIsRefused)
{
    TempFolder folder("output-read-only");
    const std::string dir = folder.Path();
    const std::string module = folder.Write("Ledger.cls", kLedger);
    const std::string file = folder.Write("kept.html", "kept");
    ::chmod(file.c_str(), 0444);
    fs::create_symlink(file, dir + "/link.html");
    for (const std::string& output : {file, dir + "/link.html"}) {
        const Result r = Launch("convert -o " + output + " " + module, true);
        EXPECT_EQ(r.status, 1) << output;
        EXPECT_EQ(r.out, "quillmark: cannot write " + output + ": the file is read-only\n");
        EXPECT_EQ(ReadFileText(file), "kept");
    }
}

// The temporary files below folder, by their mark.
std::vector<fs::path> TemporaryFilesUnder(const fs::path& folder)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().find(".tmp") != std::string::npos)
            found.push_back(it->path());
    return found;
}

// Starts quillmark with arguments, its output thrown away and the stopping signals as the
// system sets them; its process id.
pid_t Start(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(QUILLMARK_BIN)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    posix_spawn(&pid, QUILLMARK_BIN, &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

TEST(CommandProcess, AStoppedRunRemovesItsTemporaryFilesAndEndsAsTheSignalSays)
{
    TempFolder folder("stopped");
    const std::string dir = folder.Path();
    // Modules whose pages take a while to write.
    std::string code;
    for (int i = 0; i < 40000; ++i) {
        const std::string n = std::to_string(i);
        code +=
            "Sub P" + n + "(a As Long)\r\n    x = a + " + n + " ' note \"s\"\r\n    Call P" + n + "(x)\r\nEnd Sub\r\n";
    }
    fs::create_directories(dir + "/proj");
    fs::create_directories(dir + "/out");
    for (const std::string name : {"A", "B", "C"})
        folder.Write("proj/" + name + ".bas", "Attribute VB_Name = \"" + name + "\"\r\n" + code);
    const std::vector<std::string> commands[] = {
        {"convert", "-o", dir + "/out/page.html", dir + "/proj/A.bas"},
        {"site", "--jobs", "1", "-o", dir + "/out", dir + "/proj"},
    };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const auto& command : commands) {
            // The signal goes once a temporary file is there; a run that ends first is tried again.
            bool stopped = false;
            for (int attempt = 0; attempt < 5 && !stopped; ++attempt) {
                const pid_t pid = Start(command);
                ASSERT_GT(pid, 0);
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                int status = 0;
                bool ended = false;
                while (!(ended = ::waitpid(pid, &status, WNOHANG) == pid) &&
                       TemporaryFilesUnder(dir + "/out").empty() && std::chrono::steady_clock::now() < deadline)
                    ::usleep(200);
                if (ended)
                    continue;
                ::kill(pid, signal);
                ::waitpid(pid, &status, 0);
                if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
                    continue; // done before the signal came
                stopped = true;
                EXPECT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == signal) ||
                            (WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal))
                    << command[0] << ", " << strsignal(signal) << ": status " << status;
            }
            EXPECT_TRUE(stopped) << command[0] << ", " << strsignal(signal);
            EXPECT_EQ(TemporaryFilesUnder(dir + "/out"), std::vector<fs::path>{})
                << command[0] << ", " << strsignal(signal);
        }
    }
}

TEST(CommandProcess, ALaterRunRemovesOnlyTheStaleTemporaryFilesOfWhatItWrites)
{
    TempFolder folder("stale");
    const std::string dir = folder.Path();
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string dead = ".tmp" + std::to_string(gone) + "-0";
    fs::create_directories(dir + "/site/Sample");
    fs::create_directories(dir + "/export");
    const struct {
        std::string name;
        bool removed;
    } files[] = {
        {"site/index.html" + dead, true},
        {"site/quillmark.css" + dead, true},
        {"site/Sample/Ledger.html" + dead, true},
        {"site/Sample/Ledger.html.tmp" + std::to_string(::getpid()) + "-0", false}, // its process still runs
        {"site/notes.txt" + dead, false},                                           // no file of a site
        {"site/Sample/Ledger.html.tmp" + std::to_string(gone), false},              // no temporary name
        {"out.html" + dead, true},
        {"other.html" + dead, false},
        {"export/Ledger.cls" + dead, true},
        {"export/Ledger.html" + dead, false}, // no file of an export
    };
    for (const auto& file : files)
        folder.Write(file.name, "half");
    const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
    EXPECT_EQ(Launch("site -o " + dir + "/site " + sample).status, 0);
    EXPECT_EQ(Launch("convert --module Ledger -o " + dir + "/out.html " + sample).status, 0);
    EXPECT_EQ(Launch("export -o " + dir + "/export " + sample).status, 0);
    for (const auto& file : files)
        EXPECT_EQ(fs::exists(dir + "/" + file.name), !file.removed) << file.name;
}

// Names as long as a file system takes (CJK and emoji, bytes of UTF-8) are written, their
// temporary twins too; the twin that a killed run left of one is removed by the next run.
TEST(CommandProcess, TheLongestNamesAreWrittenAndAKilledRunsTwinsRemoved)
{
    TempFolder folder("longest");
    const std::string dir = folder.Path();
    const auto repeated = [](const std::string& unit, int times) {
        std::string text;
        for (int i = 0; i < times; ++i)
            text += unit;
        return text;
    };
    const std::string names[] = {repeated("\xE5\xA3\xB2", 80), repeated("\xE4\xB8\x8A", 90),
                                 repeated("\xF0\x9F\x98\x80", 75)}; // 240, 270 and 300 bytes
    for (const std::string& name : names)
        folder.Write("proj/" + name.substr(0, 12) + ".bas", "Attribute VB_Name = \"" + name + "\"\r\nSub A()\r\nEnd Sub\r\n");
    const Result site = Launch("site -o " + dir + "/site " + dir + "/proj", true);
    EXPECT_EQ(site.status, 0) << site.out;
    std::size_t pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir + "/site"))
        pages += entry.path().extension() == ".html" && entry.path().filename() != "index.html";
    EXPECT_EQ(pages, 3u);

    std::string code;
    for (int i = 0; i < 20000; ++i)
        code += "Sub P" + std::to_string(i) + "()\r\n    x = \"s\" ' note\r\nEnd Sub\r\n";
    const std::string module = folder.Write("Big.bas", code);
    const std::string page = dir + "/out/" + repeated("\xF0\x9F\x93\x84", 61) + "x.html"; // 250 bytes
    fs::create_directory(dir + "/out");
    const pid_t pid = Start({"convert", "-o", page, module});
    ASSERT_GT(pid, 0);
    int status = 0;
    while (TemporaryFilesUnder(dir + "/out").empty() && ::waitpid(pid, &status, WNOHANG) == 0)
        ::usleep(100);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    if (!WIFSIGNALED(status))
        std::puts("the run ended before it was killed; only its page is checked");
    const Result convert = Launch("convert -o " + page + " " + module, true);
    EXPECT_EQ(convert.status, 0) << convert.out;
    EXPECT_EQ(fs::file_size(page), Launch("convert " + module).out.size());
    EXPECT_EQ(TemporaryFilesUnder(dir), std::vector<fs::path>{});
}

TEST(CommandProcess, AFailedWriteNamesTheFileNotItsTemporaryTwin)
{
    TempFolder folder("too-large");
    const std::string dir = folder.Path();
    const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
    const std::pair<std::string, std::string> cases[] = {
        {"site -o " + dir + " " + sample, dir + "/quillmark.css"},
        {"convert --module Ledger -o " + dir + "/Ledger.html " + sample, dir + "/Ledger.html"},
    };
    for (const auto& [arguments, page] : cases) {
        // No file may grow past 512 bytes: a longer write fails instead of ending the process.
        const Result r = Shell("trap '' XFSZ; ulimit -f 1; " + std::string(QUILLMARK_BIN) + " " + arguments + " 2>&1");
        EXPECT_EQ(r.status, 1) << arguments;
        EXPECT_NE(r.out.find("quillmark: cannot write " + page + ": File too large"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find(".tmp"), std::string::npos) << r.out;
    }
}

// Names from outside reach a terminal with their control characters escaped, in messages and
// lists alike; a pipe or a file gets them as they are, for the program that reads them.
TEST(CommandProcess, NamesReachATerminalEscapedAndAPipeAsTheyAre)
{
    TempFolder folder("escaped");
    const std::string dir = folder.Path();
    const std::string raw = "\x1b]0;owned\x07\x1b[31m\x9b";
    const std::string shown = "\\x1b]0;owned\\x07\\x1b[31m\\x9b";
    fs::create_directory(dir + "/proj");
    folder.Write("proj/A" + raw + ".bas", "Attribute VB_Name = \"Same\"\r\n");
    folder.Write("proj/B.bas", "Attribute VB_Name = \"Same\"\r\n");
    const std::string c1 = std::string("M\xc2\x9b") + "2J"; // U+009B, the terminal's CSI
    folder.Write("c1/M.bas", "Attribute VB_Name = \"" + c1 + "\"\r\nSub A\xc2\x9d()\r\nEnd Sub\r\n");
    const struct {
        std::string arguments;
        std::string raw;   // through a pipe
        std::string shown; // on a terminal
    } cases[] = {
        {"convert '" + dir + "/gone" + raw + ".bas'", "/gone" + raw + ".bas: no such",
         "/gone" + shown + ".bas: no such"},
        {"site -o " + dir + "/out " + dir + "/proj", "already used by " + dir + "/proj/A" + raw,
         "already used by " + dir + "/proj/A" + shown},
        {"'frobnicate" + raw + "'", "unknown command \"frobnicate" + raw + "\"",
         "unknown command \"frobnicate" + shown + "\""},
        {"list " + dir + "/c1", "MOD " + c1 + "\n", "MOD M\\xc2\\x9b2J\r\n"},
        {"list --module '" + c1 + "' " + dir + "/c1", "A\xc2\x9d\t1\t2\n", "A\\xc2\\x9d\t1\t2\r\n"},
    };
    for (const auto& c : cases) {
        const Result piped = Launch(c.arguments, true);
        EXPECT_NE(piped.out.find(c.raw), std::string::npos) << piped.out;
        const Result terminal =
            Shell("script -qec \"" + std::string(QUILLMARK_BIN) + " " + c.arguments + "\" /dev/null </dev/null");
        EXPECT_NE(terminal.out.find(c.shown), std::string::npos) << terminal.out;
        EXPECT_EQ(terminal.out.find_first_of("\x1b\x07\x9b"), std::string::npos) << terminal.out;
    }
}

// What memory cannot hold is refused with its input named, in the command line's words:
// standard input beyond the most a module may hold, and a module that the memory limit cuts short.
TEST(CommandProcess, InputBeyondWhatMemoryHoldsIsRefusedByName)
{
    TempFolder folder("memory");
    std::string code = "Attribute VB_Name = \"Big\"\r\n";
    for (int i = 0; code.size() < 24'000'000; ++i)
        code += "Sub A" + std::to_string(i) + "()\r\n  x = \"abc\" & y ' note\r\nEnd Sub\r\n";
    const std::string big = folder.Write("Big.bas", code);
    const std::string quillmark = QUILLMARK_BIN;
    struct Case {
        std::string command;
        std::string start;
        std::string end;
    };
    std::vector<Case> cases{{quillmark + " convert - </dev/zero", "quillmark: (standard input): ",
                             "more than 256 MiB, more than a module holds; give the module as a file\n"}};
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) // they reserve more than the limit
    cases.push_back(
        {"ulimit -v 120000; " + quillmark + " convert " + big, "quillmark: " + big + ": ", "out of memory\n"});
#endif
    for (const Case& c : cases) {
        const Result r = Shell("(" + c.command + ") 2>&1 >/dev/null");
        EXPECT_EQ(r.status, 1) << c.command;
        EXPECT_TRUE(r.out.starts_with(c.start) && r.out.ends_with(c.end)) << r.out;
    }
}

TEST(CommandProcess, SmallMisusesAreBadUsageSaidOnce)
{
    TempFolder folder("misuse");
    const std::string dir = folder.Path();
    const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
    const std::string encoding = "quillmark: --encoding x: unknown encoding; give one such as UTF-8, CP932, CP1252 or "
                                 "UTF-16LE\n";
    const std::string notUtf8Title = "quillmark: --title is not valid UTF-8 text; give it in UTF-8, as the pages are "
                                     "written\n";
    const std::pair<std::string, std::string> cases[] = {
        {"site -o '' " + sample, "quillmark: -o DIR is empty\n"},
        {"convert -o '' " + sample, "quillmark: -o FILE is empty\n"},
        {"site -o " + dir + "/out -", "quillmark: site reads no standard input; give the module file, its folder or "
                                      "the document as PATH\n"},
        {"convert --encoding x " + sample, encoding},
        {"list --encoding x " + sample, encoding},
        {"source --encoding x " + sample, encoding},
        {"site --encoding x -o " + dir + "/out " + sample, encoding},
        {"source --all --module Ledger " + sample, "quillmark: --all prints every module whole; it takes no --module "
                                                   "or --entry\n"},
        {"source --all --entry '*' " + sample, "quillmark: --all prints every module whole; it takes no --module or "
                                               "--entry\n"},
        {"convert --theme dark " + sample, "quillmark: --theme shapes the page that --page writes or the styles that "
                                           "--inline-styles writes; add one of them\n"},
        {"convert --format ansi --links " + sample, "quillmark: --links does not go with --format ansi\n"},
        {"convert --format markdown --page " + sample, "quillmark: --page does not go with --format markdown\n"},
        {"convert --format markdown --theme dark " + sample, "quillmark: --theme does not go with --format markdown\n"},
        {"convert --colors 256 " + sample, "quillmark: --colors does not go with --format html\n"},
        {"convert --inline-styles --format ansi " + sample,
         "quillmark: --inline-styles is --format inline; it does not go with --format ansi\n"},
        {"convert --links --title T " + sample, "quillmark: --title shapes the page that --page writes; add --page\n"},
        {"convert --page --title \"$(printf 'caf\\351')\" " + sample, notUtf8Title},
        {"site --title \"$(printf '\\343\\201')\" -o " + dir + "/out " + sample, notUtf8Title},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Launch(arguments, true, "</dev/null");
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out.substr(0, r.out.find("usage: ")), message) << arguments;
    }
    EXPECT_FALSE(fs::exists(dir + "/out"));
}

// Without a display server the window and the editor say so and end, before the window toolkit
// would abort; a platform that needs none is left to start.
TEST(CommandProcess, TheWindowWithoutADisplaySaysSo)
{
    if (!fs::exists(fs::path(QUILLMARK_BIN).parent_path() / "quillmark-desktop"))
        GTEST_SKIP() << "this build has no window";
    TempFolder folder("no-display");
    const std::string sample = std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample";
    const struct {
        const char* environment;
        const char* command;
        int status;
        const char* reason; // why no display was found
    } cases[] = {
        {"", "window", 1, "DISPLAY and WAYLAND_DISPLAY are unset"},
        {"", "editor", 1, "DISPLAY and WAYLAND_DISPLAY are unset"},
        {"WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=xcb", "window", 1, "QT_QPA_PLATFORM is xcb and DISPLAY is unset"},
        {"DISPLAY=:0 QT_QPA_PLATFORM='wayland;wayland-egl'", "editor", 1,
         "QT_QPA_PLATFORM is wayland;wayland-egl and WAYLAND_DISPLAY is unset"},
        {"QT_QPA_PLATFORM=offscreen", "window", 124, ""}, // runs until the timeout ends it
    };
    for (const auto& c : cases) {
        const Result r =
            Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" + folder.Path() + " " +
                  c.environment + " timeout 2 " + QUILLMARK_BIN + " " + c.command + " " + sample + " 2>&1");
        EXPECT_EQ(r.status, c.status) << c.environment << " " << c.command;
        if (c.status == 1) {
            EXPECT_EQ(r.out, "quillmark: no display found (" + std::string(c.reason) + "); the " + c.command +
                                 " needs a graphical session, or run it under xvfb-run\n");
        }
    }
}

} // namespace
