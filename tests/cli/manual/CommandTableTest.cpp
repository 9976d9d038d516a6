#include "cli/manual/CommandTable.h"
#include "cli/manual/ManPage.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillmark::cli {
namespace {

// Options as the commands declare them, each with the value, kind and choices that the manual
// and the completions must read from it.
TEST(CommandTable, ReadsEachOptionsValueAndChoicesFromTheParser)
{
    CLI::App app("program");
    CLI::App& command = *app.add_subcommand("run", "Run it");
    std::string text;
    std::vector<std::string> texts;
    int number = 0;
    bool flag = false;
    command.add_flag("--flag", flag, "A flag");
    command.add_option("-o,--output", text, "Out")->type_name("FILE");
    command.add_option("--site", text, "Site")->type_name("DIR")->required();
    command.add_option("--set", text, "Set")->check(CLI::IsMember({"one", "two"}));
    command.add_option("--map", number, "Map")
        ->transform(CLI::CheckedTransformer(std::map<std::string, int>{{"low", 0}, {"high", 1}}));
    command.add_option("--named", number, "Named")->transform(CLI::Validator([](std::string&) { return ""; }, "a|b-c"));
    command.add_option("--lines", text, "Lines")->check(CLI::Validator([](std::string&) { return ""; }, "LINES"));
    command.add_option("--jobs", number, "Jobs")->check(CLI::Range(1, 8));
    command.add_option("--exclude", texts, "Exclude")->type_name("GLOB")->expected(1)->take_all();
    command.add_option("--hidden", text, "Hidden")->group("");
    command.add_option("PATH", texts, "Paths")->required();

    const std::vector<CommandEntry> table = CommandTableOf(app);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].name, "run");
    struct Row {
        std::vector<std::string> names;
        std::string value;
        ValueKind kind;
        std::vector<std::string> choices;
        bool required;
        bool repeatable;
    };
    const std::vector<Row> expected{
        {{"-h", "--help"}, "", ValueKind::None, {}, false, false},
        {{"--flag"}, "", ValueKind::None, {}, false, false},
        {{"-o", "--output"}, "FILE", ValueKind::File, {}, false, false},
        {{"--site"}, "DIR", ValueKind::Folder, {}, true, false},
        {{"--set"}, "TEXT", ValueKind::Choice, {"one", "two"}, false, false},
        {{"--map"}, "INT", ValueKind::Choice, {"high", "low"}, false, false},
        {{"--named"}, "INT", ValueKind::Choice, {"a", "b-c"}, false, false},
        {{"--lines"}, "TEXT", ValueKind::Text, {}, false, false},
        {{"--jobs"}, "INT", ValueKind::Text, {}, false, false},
        {{"--exclude"}, "GLOB", ValueKind::Text, {}, false, true},
        {{}, "PATH", ValueKind::Project, {}, true, true},
    };
    ASSERT_EQ(table[1].options.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const OptionEntry& option = table[1].options[i];
        SCOPED_TRACE(expected[i].value + " " + (option.names.empty() ? "" : option.names.back()));
        EXPECT_EQ(option.names, expected[i].names);
        EXPECT_EQ(option.value, expected[i].value);
        EXPECT_EQ(option.kind, expected[i].kind);
        EXPECT_EQ(option.choices, expected[i].choices);
        EXPECT_EQ(option.required, expected[i].required);
        EXPECT_EQ(option.repeatable, expected[i].repeatable);
    }
}

// Text that roff would take for a request, an escape or a hyphen stays text.
TEST(CommandTable, ManPageEscapesWhatRoffWouldRead)
{
    CommandEntry program{"", "Top", {}};
    CommandEntry command{"run", "Line one\n.so /etc/passwd\n'also \\fB not bold", {}};
    std::ostringstream page;
    WriteManPage(page, {program, command}, "1.0");
    EXPECT_NE(page.str().find("Line one\n.br\n\\&.so /etc/passwd\n.br\n\\&'also \\efB not bold\n"), std::string::npos)
        << page.str();
}

} // namespace
} // namespace quillmark::cli
