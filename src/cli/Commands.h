#pragma once

#include "base/RuntimeError.h"
#include "conversion/LineMarking.h"
#include "conversion/Themes.h"

#include <ostream>
#include <string>
#include <vector>

namespace quillmark::cli {

struct Options {
    std::vector<std::string> paths;
    std::string module; // empty: the active code pane's module
    std::string entry = "*";
    std::string encoding; // empty: guessed per file
    std::string output;   // convert -o: the file to write instead of standard output
    bool links = false;
    bool page = false;
    bool inlineStyles = false; // convert: the same as --format inline
    std::string format;        // convert: an output's name (OutputFormats); empty: html, or inline
    // The looks of convert --page, --inline-styles and ansi: the theme (given or not: ansi's own
    // default is dark); of --page: its title (empty: "Module — Project").
    ThemeName theme = ThemeName::Light;
    bool themeGiven = false;
    std::string colours;               // ansi: none|16|256|truecolor; empty: as the terminal says
    std::vector<LineSpan> highlighted; // convert: the lines to mark, in order
    bool lineNumbers = false;
    std::string title;
    bool all = false; // source --all: every module of the project, for a diff
};

// Exit codes: 0 done, 1 reading or converting failed, 2 bad usage.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// Writes "quillmark: PATH: PROBLEM" for the failure and returns the exit code it calls for.
int ReportFailure(std::ostream& err, const RuntimeError& failure);

// Each writes its product to out and its messages to err, and returns the exit code.
int Convert(const Options& options, std::ostream& out, std::ostream& err);
// Convert into options.output, which is replaced only when the conversion succeeds.
int ConvertToFile(const Options& options, std::ostream& err);
int List(const Options& options, std::ostream& out, std::ostream& err);
// With options.all, every module of the active project, each after a header line
// ("' ==== Module1 (MOD) ===="), its lines ending in LF: the text git's textconv diffs. A
// document without a VBA project, or whose project is locked for viewing, gives no text and
// succeeds, so that git diff goes on.
int Source(const Options& options, std::ostream& out, std::ostream& err);

} // namespace quillmark::cli
