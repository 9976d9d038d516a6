#pragma once

#include "codemodel/Entry.h"
#include "codemodel/HostObjectModel.h"
#include "codemodel/KeywordTable.h"
#include "codemodel/RuntimeError.h"
#include "conversion/ModuleView.h"
#include "conversion/TokenSink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

// A conversion that failed on one line of the module. Problem says what failed in plain words
// for the command line; the number and description stay what the message boxes show.
class ConversionError : public RuntimeError {
public:
    ConversionError(const RuntimeError& error, std::int32_t line, std::string problem)
        : RuntimeError(error), line_(line), problem_(std::move(problem))
    {}
    std::int32_t Line() const { return line_; }
    const std::string& Problem() const { return problem_; }

private:
    std::int32_t line_;
    std::string problem_;
};

// Makes the link list put in front of the code: one element a line, as LinkList gives it.
using LinkListMaker = std::function<std::vector<std::string>()>;

// The HTML fragment of lines firstLine..lastLine of the module for the entry; with a link-list
// maker, its list in front (made only when the conversion is going to succeed). keywords may be
// null: the first keyword lookup then fails with error 91. Fails with a ConversionError when a
// line fails, a RuntimeError otherwise; it reads no shared state and shows nothing.
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

// The HTML fragment of lines firstLine..lastLine of the module named CurrentModuleName in
// project. procName is "*", "_Declarations_" or a procedure's index name. For an empty module
// both lines are set to 1. Fails with a RuntimeError (a ConversionError when a line fails);
// it reports nothing itself.
std::string ConvertToHtml(const std::shared_ptr<VBProject>& project, const std::string& procName,
                          std::int32_t& firstLine, std::int32_t& lastLine, bool linkFlag);

} // namespace quillmark
