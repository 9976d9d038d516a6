#pragma once

#include <string_view>

namespace quillmark::win32 {

// Standard input, output and error carry bytes as they are: no CR LF written for LF, no CR
// dropped and no end at Ctrl+Z when reading.
void UseBinaryStandardStreams();

// Writes UTF-8 text to the descriptor (standard output, a device): on a console as wide text, so that every character
// shows whatever the console's code page; elsewhere (a file, a pipe) the bytes as they are.
// A character cut between two writes waits for its rest. 0 when everything arrived, else an
// errno value.
int WriteText(int descriptor, std::string_view text);

} // namespace quillmark::win32
