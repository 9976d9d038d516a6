#include "sources/MemorySource.h"

#include "base/RuntimeError.h"

namespace quillmark {

MemoryCodeModule::MemoryCodeModule(std::string name, ModuleText text)
    : name_(std::move(name)), text_(std::move(text)), table_(ProcedureTable::Scan(text_))
{}

MemoryCodeModule::MemoryCodeModule(std::string name, ModuleText text, std::vector<ProcRecord> procedures)
    : name_(std::move(name)), text_(std::move(text)), table_(std::move(procedures))
{}

std::string MemoryCodeModule::Lines(std::int32_t firstLine, std::int32_t count)
{
    return text_.Join(firstLine, count);
}

std::string MemoryCodeModule::ProcOfLine(std::int32_t line, std::int32_t& kind)
{
    if (line < 1)
        throw RuntimeError(err::InvalidCall);
    lastBlock_ = table_.BlockOfLine(line);
    if (lastBlock_ < 0)
        return {};
    const ProcRecord& block = table_.Blocks()[static_cast<std::size_t>(lastBlock_)];
    if (reportsKind_)
        kind = block.Kind;
    return std::string(DeclaredName(block));
}

std::int32_t MemoryCodeModule::ProcCountLines(const std::string& procName, std::int32_t kind)
{
    const int i = table_.FindBlock(procName, kind, lastBlock_);
    if (i < 0)
        throw RuntimeError(err::ProcedureNotDefined);
    const ProcRecord& block = table_.Blocks()[static_cast<std::size_t>(i)];
    return block.LastLine - block.FirstLine + 1;
}

MemoryComponent::MemoryComponent(std::int32_t type, std::shared_ptr<MemoryCodeModule> module)
    : type_(type), module_(std::move(module))
{}

MemoryComponents::MemoryComponents(std::vector<std::shared_ptr<MemoryComponent>> components)
    : components_(std::move(components))
{}

std::int32_t MemoryComponents::Count()
{
    return static_cast<std::int32_t>(components_.size());
}

std::shared_ptr<VBComponent> MemoryComponents::Item(std::int32_t index)
{
    if (index < 1 || index > Count())
        throw RuntimeError(err::SubscriptOutOfRange);
    return components_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<VBComponent> MemoryComponents::Item(const std::string& name)
{
    for (const auto& component : components_)
        if (SameName(component->Name(), name))
            return component;
    throw RuntimeError(err::SubscriptOutOfRange);
}

MemoryProject::MemoryProject(std::string fileName, std::vector<std::shared_ptr<MemoryComponent>> components,
                             std::int32_t protection)
    : fileName_(std::move(fileName)), components_(std::make_shared<MemoryComponents>(std::move(components))),
      protection_(protection)
{}

std::shared_ptr<VBComponents> MemoryProject::VBComponents()
{
    if (protection_ != 0)
        throw RuntimeError(err::ProjectProtected);
    return components_;
}

MemoryProjects::MemoryProjects(std::vector<std::shared_ptr<VBProject>> projects) : projects_(std::move(projects))
{}

std::int32_t MemoryProjects::Count()
{
    return static_cast<std::int32_t>(projects_.size());
}

std::shared_ptr<VBProject> MemoryProjects::Item(std::int32_t index)
{
    if (index < 1 || index > Count())
        throw RuntimeError(err::SubscriptOutOfRange);
    return projects_[static_cast<std::size_t>(index - 1)];
}

MemoryEditor::MemoryEditor(std::vector<std::shared_ptr<VBProject>> projects, std::shared_ptr<VBProject> activeProject,
                           std::shared_ptr<CodePane> activeCodePane)
    : projects_(std::make_shared<MemoryProjects>(std::move(projects))), activeProject_(std::move(activeProject)),
      activeCodePane_(std::move(activeCodePane))
{}

std::shared_ptr<CommandBars> MemoryEditor::CommandBars()
{
    throw RuntimeError(err::MemberNotSupported);
}

std::shared_ptr<Events> MemoryEditor::Events()
{
    throw RuntimeError(err::MemberNotSupported);
}

} // namespace quillmark
