// What a writer is told: the tokens of each line as the module holds it (not escaped), where
// spans open and close, the line numbers, the blocks and the link list.
#include "conversion/Converter.h"
#include "conversion/Keywords.h"

#include <gtest/gtest.h>

namespace quillmark::test {
namespace {

// Writes down what it is told: "{id" and "}" for blocks, "n:" for line n, a piece of a kind as
// K(text) (T for text is left out), a span as K[ ... ].
class RecordingSink final : public TokenSink {
public:
    std::string record;

    void LinkList(const LinkTargets& links) override
    {
        record += "links";
        for (const std::string& id : links.ids)
            record += " " + id;
        record += " +" + std::to_string(links.placeholders) + "|";
    }
    void BlockStart(std::string_view id) override { record += "{" + std::string(id) + " "; }
    void BlockEnd() override { record += "}"; }
    void LineStart(std::int32_t number, std::string_view) override { record += std::to_string(number) + ":"; }
    void Tokens(std::span<const Token> tokens) override
    {
        for (const Token& token : tokens) {
            const char kind = "TCSKLN"[static_cast<int>(token.kind)];
            switch (token.role) {
            case Token::Role::Piece:
                record += token.kind == TokenKind::Text ? std::string(token.text)
                                                        : kind + ("(" + std::string(token.text) + ")");
                break;
            case Token::Role::Open: record += kind + std::string("["); break;
            case Token::Role::Close: record += "]"; break;
            }
        }
    }
    void LineEnd() override { record += "|"; }
};

struct Module {
    ModuleText text;
    ProcedureIndex index;

    Module(const std::vector<std::string>& lines, ProcedureIndex procedures)
        : text(ModuleText::FromLines(lines)), index(std::move(procedures))
    {}
    ModuleView View() const { return {"M", text, index, std::max(text.Count(), 1)}; }
};

std::string Recorded(const std::vector<std::string>& lines, ProcedureIndex index = {{"", 0, 0}},
                     Links links = Links::Without)
{
    const Module module(lines, std::move(index));
    const auto keywords = MakeKeywordTable();
    RecordingSink sink;
    ConvertRange(module.View(), keywords.get(), Entry{}, 1, module.text.Count(), sink, links);
    return sink.record;
}

TEST(TokenStream, LinesAsTheWritersSeeThem)
{
    const struct {
        std::vector<std::string> lines;
        ProcedureIndex index;
        std::string record;
    } cases[] = {
        // Raw text: escaping is the writer's.
        {{"x = a<b & \"<\""}, {{"", 0, 0}}, "{M.Declarations 1:N(x) = N(a<b) & S(\"<\")|}"},
        // Labels open at the line's start, each closing at its colon.
        {{"GoTo a: Resume b:"}, {{"", 0, 0}}, "{M.Declarations 1:L[L[K(GoTo) a:] K(Resume) b:]|}"},
        {{"  Done: x = 1"}, {{"", 0, 0}}, "{M.Declarations 1:L[  Done:] N(x) = 1|}"},
        {{"MsgBox Prompt:=\"x\""}, {{"", 0, 0}}, "{M.Declarations 1:N(MsgBox) N(Prompt):=S(\"x\")|}"},
        // A run of whole-line comments is one span, closed where its block ends; a blank line
        // has no tokens.
        {{"' a", "  ' b", "' c", "", "Sub P()", "End Sub"},
         {{"P", 3, 6}},
         "{M.Declarations 1:C[' a|2:  ' b]|}{P 3:C[' c]|4:|5:K(Sub) N(P)()|6:K(End) K(Sub)|}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Recorded(c.lines, c.index), c.record) << c.lines.front();
}

TEST(TokenStream, LinkListAndUndecoratedLines)
{
    EXPECT_EQ(Recorded({"Sub P()", "End Sub"}, {{"P", 1, 2}}, Links::With),
              "links M.Declarations P +0|{P 1:K(Sub) N(P)()|2:K(End) K(Sub)|}");
    EXPECT_EQ(Recorded({"x = 1"}, {{"", 0, 0}}, Links::With), "links M.Declarations +1|{M.Declarations 1:N(x) = 1|}");

    const Module module({"x = \"open", "   ", "' a"}, {{"", 0, 0}});
    RecordingSink sink;
    PlainRange(module.View(), Entry{}, 1, 3, sink);
    EXPECT_EQ(sink.record, "{M.Declarations 1:x = \"open|2:   |3:' a|}");
}

// A line of more tokens than are gathered at once comes in parts, its labels still first.
TEST(TokenStream, LongLinesOpenTheirLabelsFirst)
{
    for (const std::size_t labels : {3, 1000, 140'000}) {
        std::string line;
        std::string record;
        std::string html;
        for (std::size_t k = 0; k < labels; ++k) {
            line += k > 0 ? " GoTo a:" : "GoTo a:";
            record += "L[";
            html += "<span class=\"Deco4\">";
        }
        record = "{M.Declarations 1:" + record;
        for (std::size_t k = 0; k < labels; ++k) {
            record += k > 0 ? " K(GoTo) a:]" : "K(GoTo) a:]";
            html += std::string(k > 0 ? " " : "") + "<span class=\"Deco3\">GoTo</span> a:</span>";
        }
        EXPECT_EQ(Recorded({line}), record + "|}") << labels;

        const Module module({line}, {{"", 0, 0}});
        const auto keywords = MakeKeywordTable();
        EXPECT_EQ(ConvertRange(module.View(), keywords.get(), Entry{}, 1, 1),
                  "<div class=\"CodeArea\"><p id=\"M.Declarations\">" + html + "</p></div>")
            << labels;
    }
}

} // namespace
} // namespace quillmark::test
