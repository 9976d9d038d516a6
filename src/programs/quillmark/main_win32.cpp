// quillmark.exe: the commands on Windows, over arguments in wide text.

#include "cli/CommandLine.h"
#include "cli/DescriptorOutput.h"
#include "cli/Message.h"
#include "platform/win32/StandardStreams.h"
#include "platform/win32/WideText.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

// The stream writes through buffer while it lives.
class StreamThrough {
public:
    StreamThrough(std::ostream& stream, std::streambuf& buffer) : stream_(stream), previous_(stream.rdbuf(&buffer)) {}
    ~StreamThrough()
    {
        stream_.flush();
        stream_.rdbuf(previous_);
    }
    StreamThrough(const StreamThrough&) = delete;
    StreamThrough& operator=(const StreamThrough&) = delete;

private:
    std::ostream& stream_;
    std::streambuf* previous_;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace quillmark;
    win32::UseBinaryStandardStreams();
    cli::DescriptorOutput out(1);
    cli::DescriptorOutput err(2);
    const StreamThrough coutThrough(std::cout, out);
    const StreamThrough cerrThrough(std::cerr, err);

    // Paths stay wide text until they are UTF-8 inside: 売上.xlsm exists whatever the code page.
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(win32::Narrow(argv[i]));
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());

    cli::CommandLine line;
    if (const auto status = line.Parse(argc, pointers.data()))
        return *status;
    if (line.WantsDesktop()) {
        cli::WriteMessage(std::cerr, "on Windows the window and the add-in are Quillmark.dll's, in the VBA editor; "
                                     "quillmark.exe runs convert, list, source, css and site");
        return cli::kFailed;
    }
    return RunCommand(line);
}
