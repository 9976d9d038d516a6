#include "cli/Message.h"

#include "platform/ui/TerminalOutput.h"

#include <string>

namespace quillmark::cli {

void WriteMessage(std::ostream& err, std::string_view text)
{
    WriteTerminalLine(err, "quillmark: " + std::string(text));
}

} // namespace quillmark::cli
