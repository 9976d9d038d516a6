#include "programs/standin-editor/AddInManagerDialog.h"

#include "base/RuntimeError.h"
#include "platform/com/Registry.h"
#include "platform/ui/MessageBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillmark {
namespace {

constexpr const char* Title = "Add-In Manager";

} // namespace

AddInManagerDialog::AddInManagerDialog(AddInHost& host, std::vector<AddInEntry> entries, QWidget* parent)
    : QDialog(parent), host_(host)
{
    setWindowTitle(QString::fromLatin1(Title));
    setObjectName(QStringLiteral("AddInManager"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("AddInList"));
    list_->setHeaderLabels({tr("Available Add-Ins"), tr("Load Behavior")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (AddInEntry& entry : entries) {
        const bool loaded = host_.IsLoaded(entry.progid);
        const bool startup = entry.LoadOnStartup();
        new QTreeWidgetItem(list_, {QString::fromStdString(entry.displayName), QString()});
        rows_.push_back({std::move(entry), loaded, startup});
        UpdateBehaviourText(static_cast<int>(rows_.size()) - 1);
    }

    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setWordWrap(true);
    description_->setMinimumHeight(40);
    auto* descriptionBox = new QGroupBox(tr("Description"), this);
    (new QVBoxLayout(descriptionBox))->addWidget(description_);

    loaded_ = new QCheckBox(tr("Loaded"), this);
    loaded_->setObjectName(QStringLiteral("Loaded"));
    startup_ = new QCheckBox(tr("Load on start-up"), this);
    startup_->setObjectName(QStringLiteral("LoadOnStartup"));
    auto* behaviourBox = new QGroupBox(tr("Load Behavior"), this);
    auto* behaviour = new QVBoxLayout(behaviourBox);
    behaviour->addWidget(loaded_);
    behaviour->addWidget(startup_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(descriptionBox, 2);
    lower->addWidget(behaviourBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(lower);
    layout->addWidget(buttons);
    resize(480, 360);

    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowRow(); });
    connect(loaded_, &QCheckBox::toggled, this, [this] { StoreRow(); });
    connect(startup_, &QCheckBox::toggled, this, [this] { StoreRow(); });
    if (!rows_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
    ShowRow();
}

bool AddInManagerDialog::Select(const std::string& displayName)
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].entry.displayName == displayName) {
            list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
            return true;
        }
    }
    return false;
}

void AddInManagerDialog::ShowRow()
{
    const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    const bool any = row >= 0;
    const QSignalBlocker blockLoaded(loaded_);
    const QSignalBlocker blockStartup(startup_);
    loaded_->setEnabled(any);
    startup_->setEnabled(any);
    loaded_->setChecked(any && rows_[static_cast<std::size_t>(row)].loaded);
    startup_->setChecked(any && rows_[static_cast<std::size_t>(row)].startup);
    description_->setText(any ? QString::fromStdString(rows_[static_cast<std::size_t>(row)].entry.description)
                              : QString());
}

void AddInManagerDialog::StoreRow()
{
    if (!list_->currentItem())
        return;
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    rows_[static_cast<std::size_t>(row)].loaded = loaded_->isChecked();
    rows_[static_cast<std::size_t>(row)].startup = startup_->isChecked();
    UpdateBehaviourText(row);
}

void AddInManagerDialog::UpdateBehaviourText(int row)
{
    const Row& r = rows_[static_cast<std::size_t>(row)];
    QString text = r.startup ? tr("Startup") : QString();
    if (r.loaded)
        text = text.isEmpty() ? tr("Loaded") : text + QStringLiteral(" / ") + tr("Loaded");
    list_->topLevelItem(row)->setText(1, text);
}

void AddInManagerDialog::accept()
{
    for (const Row& row : rows_) {
        try {
            if (row.startup != row.entry.LoadOnStartup())
                host_.SetLoadOnStartup(row.entry.progid, row.startup);
            if (row.loaded && !host_.IsLoaded(row.entry.progid))
                host_.Load(row.entry.progid, com::ext_ConnectMode::AfterStartup);
            else if (!row.loaded && host_.IsLoaded(row.entry.progid))
                host_.Unload(row.entry.progid);
        } catch (const RuntimeError& e) {
            MsgBox(e.Description(), Title);
        }
    }
    QDialog::accept();
}

} // namespace quillmark
