#include "platform/ui/MessageBox.h"

#include "platform/ui/TerminalText.h"

#include <cstdio>
#include <unistd.h>

namespace quillmark {
namespace {

ConsoleMessageBox& ConsoleBox()
{
    static ConsoleMessageBox box;
    return box;
}

MessageBox*& CurrentBox()
{
    static MessageBox* box = &ConsoleBox();
    return box;
}

} // namespace

void MsgBox(const std::string& text, const std::string& title)
{
    CurrentBox()->Show(text, title);
}

MessageBox* SetMessageBox(MessageBox* box)
{
    MessageBox* previous = CurrentBox();
    CurrentBox() = box ? box : &ConsoleBox();
    return previous;
}

void ConsoleMessageBox::Show(const std::string& text, const std::string& title)
{
    // The rule of WriteTerminalLine: escaped on a terminal, as it is elsewhere.
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    const std::string message = (terminal ? TerminalText(title) : title) + ": " +
                                (terminal ? TerminalText(text, LineBreaks::Kept) : text) + "\n";
    std::fputs(message.c_str(), stderr);
    std::fflush(stderr);
}

RecordingMessageBox::RecordingMessageBox() : previous_(SetMessageBox(this))
{}

RecordingMessageBox::~RecordingMessageBox()
{
    SetMessageBox(previous_);
}

void RecordingMessageBox::Show(const std::string& text, const std::string& title)
{
    messages.push_back({text, title});
}

} // namespace quillmark
