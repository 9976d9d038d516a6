#pragma once

#include "cli/Commands.h"
#include "codemodel/Entry.h"
#include "codemodel/EntryRange.h"
#include "codemodel/KeywordTable.h"
#include "conversion/ModuleView.h"

#include <span>
#include <string>
#include <string_view>

namespace quillmark::cli {

// The options of convert that shape an output; each format takes some of them.
enum OutputOption : unsigned {
    TakesLinks = 1,
    TakesPage = 2,
    TakesTheme = 4,
    TakesLineNumbers = 8,
    TakesHighlightLines = 16,
    TakesColours = 32,
};

// What one conversion is asked for: the lines of an entry, and the options that shape them.
struct FormatRequest {
    const ModuleView& view;
    const KeywordTable* keywords;
    const Entry& entry;
    LineRange range;
    const Options& options;
    std::string title; // a page's
};

// One output of convert: a writer over the token stream, and the options it takes. Adding an
// output is adding a row.
struct OutputFormat {
    std::string_view name; // as --format takes it
    std::string_view help; // what it is, for --format's help
    unsigned takes;        // OutputOption bits
    // The whole output of the request (a page when asked for).
    std::string (*write)(const FormatRequest& request);
};

std::span<const OutputFormat> OutputFormats();

// The format that the options ask for (--format, or --inline-styles); null for an unknown name.
const OutputFormat* FormatOf(const Options& options);

// "html|inline|markdown|ansi".
std::string FormatNames();

} // namespace quillmark::cli
