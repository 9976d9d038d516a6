#pragma once

#include "modhtml/ModHtml.h"
#include "platform/ui/MessageBox.h"
#include "sources/MemorySource.h"
#include "window/qt/ListBox.h"
#include "window/qt/frmAddIn.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillmark::test {

struct ModuleSpec {
    std::string name;
    std::int32_t type = vbext_ct::StdModule;
    std::vector<std::string> lines;
};

// Lines joined as the source view and the code module join them.
std::string Joined(const std::vector<std::string>& lines, std::size_t first = 1, std::size_t last = 0);

// A module with declarations on lines 1-4 and two procedures.
ModuleSpec StandardModule(const std::string& name = "Module1");
// A class with a property getter and a letter of the same name.
ModuleSpec SizeClass(const std::string& name = "Class1");
// A module whose procedure holds an unterminated string literal.
ModuleSpec BrokenModule(const std::string& name = "Broken");

// A readable project whose component list cannot be read.
class UnlistableProject final : public VBProject {
public:
    explicit UnlistableProject(std::string fileName) : fileName_(std::move(fileName)) {}
    std::int32_t Protection() override { return 0; }
    std::string FileName() override { return fileName_; }
    std::shared_ptr<quillmark::VBComponents> VBComponents() override;

private:
    std::string fileName_;
};

// The window over in-memory projects whose files exist in a temporary folder, so that each
// project has its own bare file name. Every test starts from empty shared state.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A project file named fileName in the temporary folder.
    std::string ProjectPath(const std::string& fileName);
    std::shared_ptr<MemoryProject> Project(const std::string& fileName, const std::vector<ModuleSpec>& modules,
                                           std::int32_t protection = 0);
    // An editor whose active code pane shows module of the active project (none when empty).
    std::shared_ptr<MemoryEditor> Editor(std::vector<std::shared_ptr<VBProject>> projects,
                                         std::shared_ptr<VBProject> active, const std::string& module);

    void Open(std::shared_ptr<VBE> editor);
    // Book1.xlsm (Module1, Class1, Broken) and Book2.xlsm (Other), Module1 in front.
    void OpenStandard(const std::string& activeModule = "Module1");

    template <typename T>
    T* Control(const char* name) const
    {
        T* control = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }
    QCheckBox* Check(const char* name) const { return Control<QCheckBox>(name); }
    ListBox* List(const char* name) const { return Control<ListBox>(name); }
    QLabel* Label(const char* name) const { return Control<QLabel>(name); }
    QPlainTextEdit* View(const char* name) const { return Control<QPlainTextEdit>(name); }

    void Click(const char* button) const;
    // Selects a row with the mouse, as a user does.
    void ClickRow(const char* list, int row, Qt::KeyboardModifiers modifiers = {}) const;
    std::vector<std::string> Items(const char* list) const;
    std::string Text(const char* label) const;
    std::string ViewText(const char* view) const;
    QColor StatusColour() const;

    QTemporaryDir folder;
    RecordingMessageBox messages;
    std::unique_ptr<frmAddIn> window;
    std::vector<ModuleSpec> book1;
};

inline const std::string ModuleFailure = "Quillmarkはモジュールの取得に失敗しました。\r\n"
                                         "複数のファイルには対応しておりません。\r\n"
                                         "Quillmarkを再起動してください。";

} // namespace quillmark::test
