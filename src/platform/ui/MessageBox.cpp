#include "platform/ui/MessageBox.h"

#include <cstdio>

namespace quillmark {
namespace {

ConsoleMessageBox& consoleBox()
{
    static ConsoleMessageBox box;
    return box;
}

MessageBox*& currentBox()
{
    static MessageBox* box = &consoleBox();
    return box;
}

} // namespace

void MsgBox(const std::string& text, const std::string& title)
{
    currentBox()->Show(text, title);
}

MessageBox* SetMessageBox(MessageBox* box)
{
    MessageBox* previous = currentBox();
    currentBox() = box ? box : &consoleBox();
    return previous;
}

void ConsoleMessageBox::Show(const std::string& text, const std::string& title)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
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
