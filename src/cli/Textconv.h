#pragma once

#include "cli/Commands.h"

#include <ostream>

namespace quillmark::cli {

// git's textconv of one document: source --all's text, and where there is no code to show, one
// marker line in its place that says why ("' ==== locked for viewing ===="), so that git log -p
// and git diff never stop at a document and show the reason where the code would be. Exits 0
// for anything read or not read; only a failure to write out fails it.
int Textconv(const Options& options, std::ostream& out);

// The marker line that stands in place of the code of a document that could not be read.
std::string TextconvMarker(const RuntimeError& failure);

} // namespace quillmark::cli
