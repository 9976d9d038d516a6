#pragma once

#include "codemodel/HostObjectModel.h"
#include "programs/standin-editor/MenuCommandBars.h"
#include "sources/MemorySource.h"

#include <memory>
#include <vector>

namespace quillmark {

// The stand-in editor's root object: its projects, the module shown in its code pane (the
// active code pane) and its menu-backed command bars.
class StandinVBE final : public VBE {
public:
    explicit StandinVBE(std::vector<std::shared_ptr<MemoryProject>> projects);

    std::shared_ptr<quillmark::VBProjects> VBProjects() override { return projects_; }
    std::shared_ptr<VBProject> ActiveVBProject() override { return activeProject_; }
    std::shared_ptr<quillmark::CodePane> ActiveCodePane() override { return activeCodePane_; }
    std::shared_ptr<quillmark::CommandBars> CommandBars() override { return bars_; }
    std::shared_ptr<quillmark::Events> Events() override { return events_; }

    // The project in front and the module in the code pane (nothing closes the pane).
    void SetActive(std::shared_ptr<MemoryProject> project, std::shared_ptr<MemoryComponent> component);
    MenuCommandBars& Bars() { return *bars_; }
    const std::vector<std::shared_ptr<MemoryProject>>& Projects() const { return all_; }

private:
    std::vector<std::shared_ptr<MemoryProject>> all_;
    std::shared_ptr<MemoryProjects> projects_;
    std::shared_ptr<VBProject> activeProject_;
    std::shared_ptr<CodePane> activeCodePane_;
    std::shared_ptr<MenuCommandBars> bars_ = std::make_shared<MenuCommandBars>();
    std::shared_ptr<MenuEvents> events_ = std::make_shared<MenuEvents>();
};

} // namespace quillmark
