#pragma once

// A code source held in memory. The file and document sources load into these objects, so
// that every source shares one implementation of the host object model.

#include "codemodel/HostObjectModel.h"
#include "codemodel/ModuleText.h"
#include "codemodel/TextBackedModule.h"
#include "sources/ProcedureTable.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillmark {

class MemoryCodeModule final : public CodeModule, public TextBackedModule {
public:
    // Procedures found in the text by the editor's rules.
    MemoryCodeModule(std::string name, ModuleText text);
    // Procedures as given (tests use this to play hosts with other habits).
    MemoryCodeModule(std::string name, ModuleText text, std::vector<ProcRecord> procedures);

    // Leave kind as passed in instead of reporting a property's kind, so that callers
    // have to find it by retrying with a raised kind.
    void SetReportsKind(bool reportsKind) { reportsKind_ = reportsKind; }

    std::string Name() override { return name_; }
    std::int32_t CountOfLines() override { return text_.Count(); }
    std::string Lines(std::int32_t firstLine, std::int32_t count) override;
    std::string ProcOfLine(std::int32_t line, std::int32_t& kind) override;
    std::int32_t ProcCountLines(const std::string& procName, std::int32_t kind) override;

    const ModuleText& Text() const override { return text_; }
    const ProcedureTable& Procedures() const { return table_; }

private:
    std::string name_;
    ModuleText text_;
    ProcedureTable table_;
    bool reportsKind_ = true;
    int lastBlock_ = -1; // block of the line last passed to ProcOfLine
};

class MemoryComponent final : public VBComponent {
public:
    MemoryComponent(std::int32_t type, std::shared_ptr<MemoryCodeModule> module);

    std::string Name() override { return module_->Name(); }
    std::int32_t Type() override { return type_; }
    std::shared_ptr<quillmark::CodeModule> CodeModule() override { return module_; }
    const std::shared_ptr<MemoryCodeModule>& Module() const { return module_; }

private:
    std::int32_t type_;
    std::shared_ptr<MemoryCodeModule> module_;
};

class MemoryComponents final : public VBComponents {
public:
    explicit MemoryComponents(std::vector<std::shared_ptr<MemoryComponent>> components);

    std::int32_t Count() override;
    std::shared_ptr<VBComponent> Item(std::int32_t index) override;
    std::shared_ptr<VBComponent> Item(const std::string& name) override;
    const std::vector<std::shared_ptr<MemoryComponent>>& All() const { return components_; }

private:
    std::vector<std::shared_ptr<MemoryComponent>> components_;
};

class MemoryProject final : public VBProject {
public:
    MemoryProject(std::string fileName, std::vector<std::shared_ptr<MemoryComponent>> components,
                  std::int32_t protection = 0);

    std::int32_t Protection() override { return protection_; }
    std::string FileName() override { return fileName_; }
    // Error 50289 when the project is locked for viewing.
    std::shared_ptr<quillmark::VBComponents> VBComponents() override;
    // The components even of a locked project, for the loaders' own use.
    const std::shared_ptr<MemoryComponents>& Components() const { return components_; }

private:
    std::string fileName_;
    std::shared_ptr<MemoryComponents> components_;
    std::int32_t protection_;
};

class MemoryProjects final : public VBProjects {
public:
    explicit MemoryProjects(std::vector<std::shared_ptr<VBProject>> projects);
    std::int32_t Count() override;
    std::shared_ptr<VBProject> Item(std::int32_t index) override;

private:
    std::vector<std::shared_ptr<VBProject>> projects_;
};

class MemoryCodePane final : public CodePane {
public:
    explicit MemoryCodePane(std::shared_ptr<quillmark::CodeModule> module) : module_(std::move(module)) {}
    std::shared_ptr<quillmark::CodeModule> CodeModule() override { return module_; }

private:
    std::shared_ptr<quillmark::CodeModule> module_;
};

// An editor with fixed projects, an active project and an optional active code pane. It has
// no command bars or events (error 438), as when the window runs without the editor.
class MemoryEditor final : public VBE {
public:
    MemoryEditor(std::vector<std::shared_ptr<VBProject>> projects, std::shared_ptr<VBProject> activeProject,
                 std::shared_ptr<CodePane> activeCodePane);

    std::shared_ptr<quillmark::VBProjects> VBProjects() override { return projects_; }
    std::shared_ptr<VBProject> ActiveVBProject() override { return activeProject_; }
    std::shared_ptr<quillmark::CodePane> ActiveCodePane() override { return activeCodePane_; }
    std::shared_ptr<quillmark::CommandBars> CommandBars() override;
    std::shared_ptr<quillmark::Events> Events() override;

private:
    std::shared_ptr<MemoryProjects> projects_;
    std::shared_ptr<VBProject> activeProject_;
    std::shared_ptr<CodePane> activeCodePane_;
};

} // namespace quillmark
