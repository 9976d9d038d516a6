#pragma once

// The host editor's object model, exactly as far as the add-in calls it. Every operation may
// fail with a RuntimeError; "nothing" is an empty pointer. Code sources (memory, module files,
// Office documents, the stand-in editor) implement these interfaces.

#include "base/RuntimeError.h"
#include "codemodel/ProcedureIndex.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillmark {

// Component type codes.
namespace vbext_ct {
inline constexpr std::int32_t StdModule = 1;
inline constexpr std::int32_t ClassModule = 2;
inline constexpr std::int32_t MSForm = 3;
inline constexpr std::int32_t ActiveXDesigner = 11;
inline constexpr std::int32_t Document = 100;
} // namespace vbext_ct

// How the editor connected an add-in, and why it disconnects it.
namespace ext_ConnectMode {
inline constexpr std::int32_t AfterStartup = 0;
inline constexpr std::int32_t Startup = 1;
inline constexpr std::int32_t External = 2;
inline constexpr std::int32_t CommandLine = 3;
} // namespace ext_ConnectMode

namespace ext_DisconnectMode {
inline constexpr std::int32_t HostShutdown = 0;
inline constexpr std::int32_t UserClosed = 1;
} // namespace ext_DisconnectMode

class CodeModule {
public:
    virtual ~CodeModule() = default;
    virtual std::string Name() = 0;
    virtual std::int32_t CountOfLines() = 0;
    // The lines first..first+count-1 joined by CR LF; lines past the end are empty text.
    virtual std::string Lines(std::int32_t firstLine, std::int32_t count) = 0;
    // Name of the procedure owning line, empty for a declarations line. A source either sets
    // kind to the procedure's kind or leaves it as passed in.
    virtual std::string ProcOfLine(std::int32_t line, std::int32_t& kind) = 0;
    // Lines owned by the procedure; error 35 when there is no procedure of that name and kind.
    virtual std::int32_t ProcCountLines(const std::string& procName, std::int32_t kind) = 0;
};

class VBComponent {
public:
    virtual ~VBComponent() = default;
    virtual std::string Name() = 0;
    virtual std::int32_t Type() = 0;
    virtual std::shared_ptr<quillmark::CodeModule> CodeModule() = 0;
};

class VBComponents {
public:
    virtual ~VBComponents() = default;
    virtual std::int32_t Count() = 0;
    // 1-based position in host order; error 9 outside 1..Count.
    virtual std::shared_ptr<VBComponent> Item(std::int32_t index) = 0;
    // By name (case-insensitive, as the editor compares); error 9 when absent.
    virtual std::shared_ptr<VBComponent> Item(const std::string& name) = 0;
};

class VBProject {
public:
    virtual ~VBProject() = default;
    virtual std::int32_t Protection() = 0; // 0 when the code can be read
    virtual std::string FileName() = 0;    // full path of the project's file
    virtual std::shared_ptr<quillmark::VBComponents> VBComponents() = 0;
};

class VBProjects {
public:
    virtual ~VBProjects() = default;
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<VBProject> Item(std::int32_t index) = 0; // 1-based, host order
};

class CodePane {
public:
    virtual ~CodePane() = default;
    virtual std::shared_ptr<quillmark::CodeModule> CodeModule() = 0;
};

// Office command bars and the editor's click source for a control.
class CommandBarControl {
public:
    virtual ~CommandBarControl() = default;
    virtual std::string Caption() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void Delete() = 0;
};

class CommandBarControls {
public:
    virtual ~CommandBarControls() = default;
    // Appends a control of the given type (1 is a button) after the existing ones.
    virtual std::shared_ptr<CommandBarControl> Add(std::int16_t type) = 0;
};

class CommandBar {
public:
    virtual ~CommandBar() = default;
    virtual std::shared_ptr<CommandBarControls> Controls() = 0;
};

class CommandBars {
public:
    virtual ~CommandBars() = default;
    virtual std::shared_ptr<CommandBar> Item(const std::string& name) = 0; // nothing when absent
};

class CommandBarEvents {
public:
    // (control, handled, cancelDefault)
    using ClickHandler = std::function<void(const std::shared_ptr<CommandBarControl>&, bool&, bool&)>;
    virtual ~CommandBarEvents() = default;
    // Binds the Click event; an empty handler unbinds it.
    virtual void SetClickHandler(ClickHandler handler) = 0;
};

class Events {
public:
    virtual ~Events() = default;
    virtual std::shared_ptr<quillmark::CommandBarEvents>
    CommandBarEvents(const std::shared_ptr<CommandBarControl>& control) = 0;
};

// The editor's root object.
class VBE {
public:
    virtual ~VBE() = default;
    virtual std::shared_ptr<quillmark::VBProjects> VBProjects() = 0;
    virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;
    virtual std::shared_ptr<quillmark::CodePane> ActiveCodePane() = 0; // nothing without a code window
    virtual std::shared_ptr<quillmark::CommandBars> CommandBars() = 0;
    virtual std::shared_ptr<quillmark::Events> Events() = 0;
};

// The object behind a reference, or error 91 when the reference is nothing.
template <typename Pointer>
auto& Obj(const Pointer& reference)
{
    if (!reference)
        throw RuntimeError(err::ObjectNotSet);
    return *reference;
}

} // namespace quillmark
