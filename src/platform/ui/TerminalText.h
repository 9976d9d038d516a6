#pragma once

#include <string>
#include <string_view>

namespace quillmark {

enum class LineBreaks { Escaped, Kept };

// text as it may reach a terminal: every byte of a control character (C0, DEL, C1) and every
// byte that is not part of valid UTF-8 shown as \xNN (ESC as \x1b, U+0085 as \xc2\x85), so that
// a name from outside can neither move the cursor, retitle the window nor hide what follows.
// Other text, UTF-8 included, stays as it is. With LineBreaks::Kept, a CR LF, LF or lone CR
// becomes a line break, for a message of several lines.
std::string TerminalText(std::string_view text, LineBreaks breaks = LineBreaks::Escaped);

} // namespace quillmark
