#pragma once

#include "codemodel/RuntimeError.h"

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
int Source(const Options& options, std::ostream& out, std::ostream& err);

} // namespace quillmark::cli
