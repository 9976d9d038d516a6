// The command as a whole process: exit codes, usage and streams.
#include "common/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace {

struct Result {
    int status;
    std::string out;
};

// Runs the command with arguments through the shell; stderr is folded into out when asked, and
// standard output then goes where redirect sends it.
Result Launch(const std::string& arguments, bool withErrors = false, const std::string& redirect = {})
{
    const std::string command =
        std::string(QUILLMARK_BIN) + " " + arguments + (withErrors ? " 2>&1 " : " 2>/dev/null ") + redirect;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(CommandProcess, BadUsageExitsTwoWithTheUsage)
{
    for (const char* arguments : {"", "convert", "frobnicate x", "convert --nope x", "list --entry x y", "convert ''",
                                  "site x", "site --jobs 0 -o /tmp x", "site --theme blue -o /tmp x"}) {
        const Result r = Launch(arguments, true);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_NE(r.out.find("convert"), std::string::npos) << arguments;
    }
}

TEST(CommandProcess, AMistypedCommandIsNamedWithTheOneMeant)
{
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"conver x", "quillmark: unknown command \"conver\"; did you mean convert?\n"},
        {"lst x", "quillmark: unknown command \"lst\"; did you mean list?\n"},
        {"frobnicate x", "quillmark: unknown command \"frobnicate\"\n"},
    };
    for (const auto& c : cases) {
        const Result r = Launch(c.arguments, true);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.out.rfind(c.message, 0), 0u) << r.out;
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
    for (const char* option : {"--links", "--page", "--module", "--entry", "--encoding", "PATH"})
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

} // namespace
