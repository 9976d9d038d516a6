// quillmark.exe: the commands on Windows, over arguments in wide text.

#include "base/PathText.h"
#include "base/RuntimeError.h"
#include "cli/CommandLine.h"
#include "cli/DescriptorOutput.h"
#include "cli/Message.h"
#include "platform/win32/FileVersion.h"
#include "platform/win32/StandardStreams.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/WideText.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace quillmark;

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

// The version information of the libraries installed with this program, as quillmark-desktop
// prints the Linux library's: beside it (as dist/windows/ARCH holds them) or, installed, in
// the folders x64 and x86 beside its bin; one blank line between two.
int PrintLibraryVersions()
{
    namespace fs = std::filesystem;
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length < self.size()) {
            self.resize(length);
            break;
        }
        self.resize(self.size() * 2);
    }
    const fs::path folder = fs::path(self).parent_path();
    const fs::path beside = folder / L"Quillmark.dll";
    const fs::path installed[] = {folder.parent_path() / L"x64" / L"Quillmark.dll",
                                  folder.parent_path() / L"x86" / L"Quillmark.dll"};
    std::error_code ec;
    const bool isBeside = fs::is_regular_file(beside, ec);
    bool found = false;
    for (const fs::path& library :
         isBeside ? std::vector{beside} : std::vector(std::begin(installed), std::end(installed))) {
        if (!fs::is_regular_file(library, ec))
            continue;
        try {
            const std::string text = win32::FileVersionText(library);
            std::cout << (found ? "\n" : "") << text << "Library: " << Utf8FromPath(library) << '\n';
            found = true;
        } catch (const RuntimeError& e) {
            return cli::ReportFailure(std::cerr, e);
        }
    }
    if (found)
        return cli::kDone;
    cli::WriteMessage(std::cerr, "no Quillmark.dll beside quillmark.exe in " + Utf8FromPath(folder) +
                                     ", nor in the x64 and x86 folders of an installation around it");
    return cli::kFailed;
}

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
    if (line.version && line.verbose)
        return PrintLibraryVersions();
    return RunCommand(line);
}
