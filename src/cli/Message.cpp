#include "cli/Message.h"

#include "platform/ui/TerminalText.h"

namespace quillmark::cli {

void WriteMessage(std::ostream& err, std::string_view text)
{
    err << "quillmark: " << TerminalText(text) << '\n';
}

} // namespace quillmark::cli
