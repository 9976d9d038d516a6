#include "cli/Textconv.h"

#include "cli/ProjectText.h"
#include "platform/ui/TerminalText.h"
#include "sources/FileProjects.h"
#include "sources/documents/VbaFormatError.h"

#include <sstream>

namespace quillmark::cli {

namespace {

std::string Marker(std::string_view what)
{
    return "' ==== " + std::string(what) + " ====\n";
}

} // namespace

std::string TextconvMarker(const RuntimeError& failure)
{
    if (IsEncryptedDocument(failure))
        return Marker("encrypted");
    if (failure.Number() == err::ProjectProtected)
        return Marker("locked for viewing");
    // One line whatever the problem holds; the path is git's temporary file, of no use.
    const std::string reason = TerminalText(failure.Problem());
    if (failure.Number() == err::BadFileFormat || IsVbaTooLarge(failure))
        return Marker("damaged: " + reason);
    return Marker("unreadable: " + reason);
}

int Textconv(const Options& options, std::ostream& out)
{
    // Made whole first, so that a failure halfway leaves the marker alone.
    std::ostringstream text;
    try {
        ErrorPlace place;
        const std::shared_ptr<MemoryEditor> editor = OpenEditor({options.paths.front()}, {}, options.encoding);
        const std::shared_ptr<VBProject> project = editor->ActiveVBProject();
        if (project->Protection() != 0)
            throw RuntimeError(err::ProjectProtected);
        WriteProjectText(*project, text, place);
    } catch (...) {
        const RuntimeError failure = CurrentError();
        text.str(IsNoVbaProject(failure) ? std::string() : TextconvMarker(failure));
    }
    out << text.str();
    return kDone;
}

} // namespace quillmark::cli
