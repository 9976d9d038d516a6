#pragma once

#include "base/RuntimeError.h"
#include "codemodel/HostObjectModel.h"
#include "sources/MemorySource.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillmark::test {

class FakeBar;

class FakeControl final : public CommandBarControl {
public:
    explicit FakeControl(FakeBar* bar) : bar_(bar) {}
    std::string Caption() override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    void Delete() override;

private:
    FakeBar* bar_;
    std::string caption_;
};

class FakeBar final : public CommandBar, public CommandBarControls {
public:
    std::shared_ptr<CommandBarControls> Controls() override { return {self_.lock(), this}; }
    std::shared_ptr<CommandBarControl> Add(std::int16_t type) override;

    std::vector<std::string> Captions() const;
    std::vector<std::shared_ptr<FakeControl>> controls;
    std::weak_ptr<FakeBar> self_;
};

// Click sources, one per control; a refusing source fails to bind its event.
class FakeClickSource final : public CommandBarEvents {
public:
    void SetClickHandler(ClickHandler handler) override;
    // What the editor does on a click: the handler sees these flags.
    void Click(bool& handled, bool& cancelDefault);
    void Click();

    bool refuses = false;
    bool bound() const { return static_cast<bool>(handler_); }

private:
    ClickHandler handler_;
};

class FakeEvents final : public Events {
public:
    std::shared_ptr<quillmark::CommandBarEvents>
    CommandBarEvents(const std::shared_ptr<CommandBarControl>& control) override;

    std::optional<RuntimeError> failure; // thrown by CommandBarEvents when set
    bool refuseBinding = false;          // sources handed out refuse to bind
    std::map<std::shared_ptr<CommandBarControl>, std::shared_ptr<FakeClickSource>> sources;
};

class FakeBars final : public CommandBars {
public:
    std::shared_ptr<CommandBar> Item(const std::string& name) override;
    std::map<std::string, std::shared_ptr<FakeBar>> bars;
};

// An editor over in-memory projects with an "Add-Ins" bar that already holds one control.
class FakeEditor final : public VBE {
public:
    FakeEditor(std::shared_ptr<MemoryEditor> code, bool withAddInsBar = true);

    std::shared_ptr<quillmark::VBProjects> VBProjects() override { return code_->VBProjects(); }
    std::shared_ptr<VBProject> ActiveVBProject() override { return code_->ActiveVBProject(); }
    std::shared_ptr<quillmark::CodePane> ActiveCodePane() override { return code_->ActiveCodePane(); }
    std::shared_ptr<quillmark::CommandBars> CommandBars() override { return bars; }
    std::shared_ptr<quillmark::Events> Events() override { return events; }

    FakeBar& AddIns() { return *bars->bars.at("Add-Ins"); }
    // The click source the add-in bound to the control with this caption.
    FakeClickSource& SourceOf(const std::string& caption);

    std::shared_ptr<FakeBars> bars = std::make_shared<FakeBars>();
    std::shared_ptr<FakeEvents> events = std::make_shared<FakeEvents>();

private:
    std::shared_ptr<MemoryEditor> code_;
};

} // namespace quillmark::test
