#include "programs/standin-editor/StandinVBE.h"

namespace quillmark {

StandinVBE::StandinVBE(std::vector<std::shared_ptr<MemoryProject>> projects)
    : all_(std::move(projects)),
      projects_(std::make_shared<MemoryProjects>(std::vector<std::shared_ptr<VBProject>>(all_.begin(), all_.end())))
{
    if (!all_.empty())
        activeProject_ = all_.front();
}

void StandinVBE::SetActive(std::shared_ptr<MemoryProject> project, std::shared_ptr<MemoryComponent> component)
{
    activeProject_ = std::move(project);
    if (component)
        activeCodePane_ = std::make_shared<MemoryCodePane>(component->CodeModule());
}

} // namespace quillmark
