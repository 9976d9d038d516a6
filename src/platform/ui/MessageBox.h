#pragma once

#include <string>
#include <vector>

namespace quillmark {

// Every modal message of the system (OK button only, no icon) goes through here, so that the
// engine runs the same headless, in a terminal or behind a window.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const std::string& text, const std::string& title) = 0;
};

// Shows text under title through the box installed with SetMessageBox (stderr when none is).
void MsgBox(const std::string& text, const std::string& title);

// Installs box as the target of MsgBox and returns the one it replaces; nullptr restores
// the console box.
MessageBox* SetMessageBox(MessageBox* box);

// Writes "TITLE: TEXT" to standard error, as TerminalText shows them when that is a terminal.
class ConsoleMessageBox final : public MessageBox {
public:
    void Show(const std::string& text, const std::string& title) override;
};

// Keeps every message, for tests; installs itself for its lifetime.
class RecordingMessageBox final : public MessageBox {
public:
    struct Message {
        std::string text;
        std::string title;
        bool operator==(const Message&) const = default;
    };

    RecordingMessageBox();
    ~RecordingMessageBox() override;
    RecordingMessageBox(const RecordingMessageBox&) = delete;
    RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

    void Show(const std::string& text, const std::string& title) override;

    std::vector<Message> messages;

private:
    MessageBox* previous_;
};

} // namespace quillmark
