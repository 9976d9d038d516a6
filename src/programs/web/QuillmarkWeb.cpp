// The commands of quillmark for JavaScript: the same command line and the same output, over
// files that the JavaScript side has put into the module's file system.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Message.h"
#include "cli/StyleSheet.h"

#include <emscripten/bind.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What a command wrote on standard output is handed over by output() as bytes, which
// JavaScript decodes at once: far quicker than a string made byte by byte.
struct Result {
    int status = 0;
    std::string err;
};

std::string output;

// Standard output written straight into output, which keeps its memory from one command to the
// next: a string stream would grow its own copy and copy it out once more, byte by byte.
class OutputText final : public std::streambuf {
protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        output.append(text, static_cast<std::size_t>(count));
        return count;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            output.push_back(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }
};

// The stream reads or writes through buffer while it lives.
template <typename Stream>
class Redirected {
public:
    Redirected(Stream& stream, std::streambuf* buffer) : stream_(stream), previous_(stream.rdbuf(buffer)) {}
    ~Redirected() { stream_.rdbuf(previous_); }
    Redirected(const Redirected&) = delete;
    Redirected& operator=(const Redirected&) = delete;

private:
    Stream& stream_;
    std::streambuf* previous_;
};

// Runs "quillmark ARGS..." with standard input read from the file input (none when empty).
// convert, list, source, css, and site, which writes into the module's file system (the offline
// page shows it from there); the others, which write files elsewhere or open windows, are
// refused as bad usage.
Result Run(const std::vector<std::string>& args, const std::string& input)
{
    using namespace quillmark::cli;
    output.clear();
    OutputText text;
    std::ostream out(&text);
    std::ostringstream err;
    std::ifstream in;
    if (!input.empty()) {
        in.open(input, std::ios::binary);
    }
    const Redirected<std::istream> cin(std::cin, in.rdbuf());
    const Redirected<std::ostream> cout(std::cout, out.rdbuf());
    const Redirected<std::ostream> cerr(std::cerr, err.rdbuf());

    std::vector<std::string> words{"quillmark"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    CommandLine line;
    Result result;
    if (const auto status = line.Parse(static_cast<int>(argv.size()), argv.data())) {
        result.status = *status;
    } else if (line.convert->parsed() && line.options.output.empty()) {
        result.status = Convert(line.options, out, err);
    } else if (line.list->parsed()) {
        result.status = List(line.options, out, err);
    } else if (line.source->parsed()) {
        result.status = Source(line.options, out, err);
    } else if (line.site.command->parsed()) {
        result.status = RunSiteCommand(line.site);
    } else if (line.css->parsed()) {
        out << (line.cssPage ? StyleSheet(line.cssTheme) : FragmentStyleSheet(line.cssTheme));
        result.status = kDone;
    } else {
        WriteMessage(err, "this command writes files or opens windows, which the web edition does not do");
        result.status = kUsage;
    }
    result.err = err.str();
    return result;
}

// The last command's standard output, valid until the next command.
emscripten::val Output()
{
    return emscripten::val(emscripten::typed_memory_view(output.size(), output.data()));
}

} // namespace

EMSCRIPTEN_BINDINGS(quillmark)
{
    emscripten::register_vector<std::string>("Words");
    emscripten::value_object<Result>("Result")
        .field("status", &Result::status)
        .field("err", &Result::err);
    emscripten::function("run", &Run);
    emscripten::function("output", &Output);
}
