#include "programs/standin-editor/EditorWindow.h"

#include "base/RuntimeError.h"
#include "platform/com/Registry.h"
#include "platform/ui/MessageBox.h"
#include "programs/standin-editor/AddInManagerDialog.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

#include <filesystem>

namespace quillmark {
namespace {

constexpr const char* ManagerTitle = "Add-In Manager";
constexpr int ProjectRole = Qt::UserRole;
constexpr int ComponentRole = Qt::UserRole + 1;

QString ToQString(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

std::string ComponentTypeName(std::int32_t type)
{
    switch (type) {
    case vbext_ct::StdModule: return "Module";
    case vbext_ct::ClassModule: return "Class Module";
    case vbext_ct::MSForm: return "UserForm";
    case vbext_ct::ActiveXDesigner: return "Designer";
    case vbext_ct::Document: return "Document";
    default: return "Type " + std::to_string(type);
    }
}

EditorWindow::EditorWindow(std::vector<std::shared_ptr<MemoryProject>> projects, QWidget* parent)
    : QMainWindow(parent), editor_(std::make_shared<StandinVBE>(std::move(projects))), host_(editor_)
{
    setObjectName(QStringLiteral("StandinEditor"));
    setWindowTitle(tr("Quillmark editor"));

    explorer_ = new QTreeWidget;
    explorer_->setObjectName(QStringLiteral("ProjectExplorer"));
    explorer_->setHeaderLabels({tr("Project"), tr("Type")});
    explorer_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    codePane_ = new QPlainTextEdit;
    codePane_->setObjectName(QStringLiteral("CodePane"));
    codePane_->setReadOnly(true);
    codePane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    codePane_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* splitter = new QSplitter;
    splitter->addWidget(explorer_);
    splitter->addWidget(codePane_);
    splitter->setStretchFactor(1, 3);
    setCentralWidget(splitter);
    resize(960, 640);

    addInsMenu_ = menuBar()->addMenu(tr("&Add-Ins"));
    addInsMenu_->setObjectName(QStringLiteral("AddInsMenu"));
    QAction* manager = addInsMenu_->addAction(tr("&Add-In Manager..."));
    manager->setObjectName(QStringLiteral("AddInManagerAction"));
    connect(manager, &QAction::triggered, this, [this] { OpenAddInManager(); });
    editor_->Bars().AddBar("Add-Ins", addInsMenu_);

    FillExplorer();
    connect(explorer_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { ShowSelected(item); });
    if (QTreeWidgetItem* project = explorer_->topLevelItem(0); project && project->childCount() > 0)
        explorer_->setCurrentItem(project->child(0));
}

EditorWindow::~EditorWindow()
{
    if (!shutDown_)
        host_.Shutdown();
}

void EditorWindow::FillExplorer()
{
    const auto& projects = editor_->Projects();
    for (std::size_t p = 0; p < projects.size(); ++p) {
        const auto& project = projects[p];
        const std::string name = std::filesystem::path(project->FileName()).filename().string();
        auto* projectItem = new QTreeWidgetItem(explorer_, {ToQString(name), tr("Project")});
        projectItem->setToolTip(0, ToQString(project->FileName()));
        projectItem->setData(0, ProjectRole, static_cast<int>(p));
        projectItem->setExpanded(true);
        const auto& components = project->Components()->All();
        for (std::size_t c = 0; c < components.size(); ++c) {
            auto* item = new QTreeWidgetItem(
                projectItem, {ToQString(components[c]->Name()), ToQString(ComponentTypeName(components[c]->Type()))});
            item->setData(0, ProjectRole, static_cast<int>(p));
            item->setData(0, ComponentRole, static_cast<int>(c));
        }
    }
}

void EditorWindow::ShowSelected(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const auto& project = editor_->Projects().at(static_cast<std::size_t>(item->data(0, ProjectRole).toInt()));
    const QVariant componentIndex = item->data(0, ComponentRole);
    if (!componentIndex.isValid()) {
        editor_->SetActive(project, nullptr);
        return;
    }
    const auto& component = project->Components()->All().at(static_cast<std::size_t>(componentIndex.toInt()));
    editor_->SetActive(project, component);
    const auto& module = component->Module();
    QString code = ToQString(module->Lines(1, module->CountOfLines()));
    code.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    codePane_->setPlainText(code);
    setWindowTitle(tr("Quillmark editor - [%1 (Code)]").arg(ToQString(component->Name())));
}

bool EditorWindow::SelectComponent(const std::string& projectFileName, const std::string& componentName)
{
    for (int p = 0; p < explorer_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* projectItem = explorer_->topLevelItem(p);
        const auto& project = editor_->Projects().at(static_cast<std::size_t>(p));
        if (project->FileName() != projectFileName)
            continue;
        for (int c = 0; c < projectItem->childCount(); ++c) {
            if (projectItem->child(c)->text(0).toStdString() == componentName) {
                explorer_->setCurrentItem(projectItem->child(c));
                return true;
            }
        }
    }
    return false;
}

AddInManagerDialog* EditorWindow::OpenAddInManager()
{
    std::vector<AddInEntry> entries;
    try {
        entries = host_.Registered();
    } catch (const RuntimeError& e) {
        MsgBox(e.Description(), ManagerTitle);
        return nullptr;
    }
    auto* dialog = new AddInManagerDialog(host_, std::move(entries), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

void EditorWindow::LoadStartupAddIns()
{
    for (const std::string& failure : host_.LoadStartupAddIns())
        MsgBox(failure, ManagerTitle);
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!shutDown_) {
        shutDown_ = true;
        host_.Shutdown();
    }
    event->accept();
}

} // namespace quillmark
