#include "addin/win32/DispatchEditor.h"

#include "addin/win32/ClickSink.h"
#include "codemodel/ControlCharacters.h"

namespace quillmark::win32 {
namespace {

template <class Interface>
class Wrapped : public Interface, public DispatchHolder {
public:
    explicit Wrapped(ComPtr<IDispatch> object) : object_(std::move(object)) {}
    IDispatch* Dispatch() const override { return object_.Dispatch(); }

protected:
    DispatchObject object_;
};

// The object a call returned, wrapped as T; nothing for an empty reference.
template <class T>
auto wrap(const VariantValue& value) -> std::shared_ptr<T>
{
    ComPtr<IDispatch> object = value.ToObject();
    return object ? std::make_shared<T>(std::move(object)) : nullptr;
}

class DispatchCodeModule final : public Wrapped<CodeModule> {
public:
    using Wrapped::Wrapped;
    std::string Name() override { return object_.Call("Name").ToString(); }
    std::int32_t CountOfLines() override { return object_.Call("CountOfLines").ToInt32(); }
    // The editor's code is cleaned as it arrives, as a module file's is when it is decoded.
    std::string Lines(std::int32_t firstLine, std::int32_t count) override
    {
        VariantValue first(firstLine), many(count);
        return ReplaceControlCharacters(object_.Call("Lines", {&first, &many}).ToString());
    }
    std::string ProcOfLine(std::int32_t line, std::int32_t& kind) override
    {
        LONG kindValue = kind;
        VariantValue lineValue(line);
        VariantValue kindReference = VariantValue::ByRef(&kindValue);
        std::string name = object_.Call("ProcOfLine", {&lineValue, &kindReference}).ToString();
        kind = kindValue;
        return name;
    }
    std::int32_t ProcCountLines(const std::string& procName, std::int32_t kind) override
    {
        VariantValue name(procName), kindValue(kind);
        return object_.Call("ProcCountLines", {&name, &kindValue}).ToInt32();
    }
};

class DispatchComponent final : public Wrapped<VBComponent> {
public:
    using Wrapped::Wrapped;
    std::string Name() override { return object_.Call("Name").ToString(); }
    std::int32_t Type() override { return object_.Call("Type").ToInt32(); }
    std::shared_ptr<quillmark::CodeModule> CodeModule() override
    {
        return wrap<DispatchCodeModule>(object_.Call("CodeModule"));
    }
};

class DispatchComponents final : public Wrapped<VBComponents> {
public:
    using Wrapped::Wrapped;
    std::int32_t Count() override { return object_.Call("Count").ToInt32(); }
    std::shared_ptr<VBComponent> Item(std::int32_t index) override { return item(VariantValue(index)); }
    std::shared_ptr<VBComponent> Item(const std::string& name) override { return item(VariantValue(name)); }

private:
    std::shared_ptr<VBComponent> item(VariantValue key)
    {
        return wrap<DispatchComponent>(object_.Call("Item", {&key}));
    }
};

class DispatchProject final : public Wrapped<VBProject> {
public:
    using Wrapped::Wrapped;
    std::int32_t Protection() override { return object_.Call("Protection").ToInt32(); }
    std::string FileName() override { return object_.Call("FileName").ToString(); }
    std::shared_ptr<quillmark::VBComponents> VBComponents() override
    {
        return wrap<DispatchComponents>(object_.Call("VBComponents"));
    }
};

class DispatchProjects final : public Wrapped<VBProjects> {
public:
    using Wrapped::Wrapped;
    std::int32_t Count() override { return object_.Call("Count").ToInt32(); }
    std::shared_ptr<VBProject> Item(std::int32_t index) override
    {
        VariantValue key(index);
        return wrap<DispatchProject>(object_.Call("Item", {&key}));
    }
};

class DispatchCodePane final : public Wrapped<CodePane> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<quillmark::CodeModule> CodeModule() override
    {
        return wrap<DispatchCodeModule>(object_.Call("CodeModule"));
    }
};

class DispatchControl final : public Wrapped<CommandBarControl> {
public:
    using Wrapped::Wrapped;
    std::string Caption() override { return object_.Call("Caption").ToString(); }
    void SetCaption(const std::string& caption) override { object_.Put("Caption", VariantValue(caption)); }
    void Delete() override { object_.Call("Delete"); }
};

class DispatchControls final : public Wrapped<CommandBarControls> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<CommandBarControl> Add(std::int16_t type) override
    {
        VariantValue typeValue(type);
        return wrap<DispatchControl>(object_.Call("Add", {&typeValue}));
    }
};

class DispatchBar final : public Wrapped<CommandBar> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<CommandBarControls> Controls() override { return wrap<DispatchControls>(object_.Call("Controls")); }
};

class DispatchBars final : public Wrapped<CommandBars> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<CommandBar> Item(const std::string& name) override
    {
        VariantValue key(name);
        return wrap<DispatchBar>(object_.Call("Item", {&key}));
    }
};

class DispatchClickSource final : public Wrapped<CommandBarEvents> {
public:
    using Wrapped::Wrapped;
    void SetClickHandler(ClickHandler handler) override
    {
        connection_.reset();
        if (!handler)
            return;
        connection_ = std::make_unique<ClickConnection>(
            object_.Dispatch(), [handler = std::move(handler)](IDispatch* control, bool& handled, bool& cancelDefault) {
                const std::shared_ptr<CommandBarControl> clicked =
                    control ? std::make_shared<DispatchControl>(ComPtr<IDispatch>(control)) : nullptr;
                handler(clicked, handled, cancelDefault);
            });
    }

private:
    std::unique_ptr<ClickConnection> connection_;
};

class DispatchEvents final : public Wrapped<Events> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<quillmark::CommandBarEvents>
    CommandBarEvents(const std::shared_ptr<CommandBarControl>& control) override
    {
        VariantValue controlValue(DispatchOf(control));
        return wrap<DispatchClickSource>(object_.Call("CommandBarEvents", {&controlValue}));
    }
};

class DispatchVBE final : public Wrapped<VBE> {
public:
    using Wrapped::Wrapped;
    std::shared_ptr<quillmark::VBProjects> VBProjects() override
    {
        return wrap<DispatchProjects>(object_.Call("VBProjects"));
    }
    std::shared_ptr<VBProject> ActiveVBProject() override
    {
        return wrap<DispatchProject>(object_.Call("ActiveVBProject"));
    }
    std::shared_ptr<quillmark::CodePane> ActiveCodePane() override
    {
        return wrap<DispatchCodePane>(object_.Call("ActiveCodePane"));
    }
    std::shared_ptr<quillmark::CommandBars> CommandBars() override
    {
        return wrap<DispatchBars>(object_.Call("CommandBars"));
    }
    std::shared_ptr<quillmark::Events> Events() override { return wrap<DispatchEvents>(object_.Call("Events")); }
};

} // namespace

std::shared_ptr<VBE> EditorOf(IDispatch* application)
{
    return application ? std::make_shared<DispatchVBE>(ComPtr<IDispatch>(application)) : nullptr;
}

std::shared_ptr<CommandBarEvents> ClickSourceOf(IDispatch* source)
{
    return source ? std::make_shared<DispatchClickSource>(ComPtr<IDispatch>(source)) : nullptr;
}

} // namespace quillmark::win32
