#pragma once

#include "base/RuntimeError.h"
#include "codemodel/Entry.h"
#include "codemodel/KeywordTable.h"
#include "conversion/ModuleView.h"
#include "conversion/TokenSink.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillmark {

// Makes the link list put in front of the code: one element a line, as LinkList gives it.
using LinkListMaker = std::function<std::vector<std::string>()>;

// The HTML fragment of lines firstLine..lastLine of the module for the entry; with a link-list
// maker, its list in front (made only when the conversion is going to succeed). keywords may be
// null: the first keyword lookup then fails with error 91. Fails with a RuntimeError at the
// module, and at the line when one fails; it reads no shared state and shows nothing.
std::string ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry,
                         std::int32_t firstLine, std::int32_t lastLine, const LinkListMaker& linkList = {});

enum class Links : bool { Without, With };

// The same conversion, reported to sink as it goes (the link list only when the conversion is
// going to succeed, as far as its blocks tell); what the sink was told before a failure is no
// part of any result. A failure of the sink itself counts as one of the conversion.
void ConvertRange(const ModuleView& module, const KeywordTable* keywords, const Entry& entry, std::int32_t firstLine,
                  std::int32_t lastLine, TokenSink& sink, Links links = Links::Without);

// The same lines undecorated, for code that cannot be converted: in the same blocks, each line
// whole as one piece of text, blank lines too. Fails only as the blocks do.
void PlainRange(const ModuleView& module, const Entry& entry, std::int32_t firstLine, std::int32_t lastLine,
                TokenSink& sink);

} // namespace quillmark
