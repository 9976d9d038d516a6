#include "WindowFixture.h"

#include "base/RuntimeError.h"
#include "window/qt/TextView.h"

#include <QFile>
#include <QTest>

namespace quillmark::test {

std::string Joined(const std::vector<std::string>& lines, std::size_t first, std::size_t last)
{
    if (last == 0)
        last = lines.size();
    std::string text;
    for (std::size_t i = first; i <= last; ++i)
        text += (i > first ? "\r\n" : "") + lines[i - 1];
    return text;
}

ModuleSpec StandardModule(const std::string& name)
{
    return {name,
            vbext_ct::StdModule,
            {"Option Explicit", "Private Const Greeting As String = \"Hello\"", "Dim counter As Long",
             "Dim other As Long", "Public Sub Hello()", "    MsgBox Greeting", "End Sub", "",
             "Function Twice(ByVal n As Long) As Long", "    Twice = n * 2", "End Function"}};
}

ModuleSpec SizeClass(const std::string& name)
{
    return {name,
            vbext_ct::ClassModule,
            {"Option Explicit", "Private mSize As Long", "Public Property Get Size() As Long", "    Size = mSize",
             "End Property", "Public Property Let Size(ByVal value As Long)", "    mSize = value", "End Property"}};
}

ModuleSpec BrokenModule(const std::string& name)
{
    return {name, vbext_ct::StdModule, {"Sub Oops()", "    s = \"unterminated text", "End Sub"}};
}

std::shared_ptr<quillmark::VBComponents> UnlistableProject::VBComponents()
{
    throw RuntimeError(err::ObjectRequired);
}

void WindowTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    ModHtml() = ModHtmlState{};
    book1 = {StandardModule(), SizeClass(), BrokenModule()};
}

void WindowTest::TearDown()
{
    if (window)
        window->Unload();
    window.reset();
    ModHtml() = ModHtmlState{};
}

std::string WindowTest::ProjectPath(const std::string& fileName)
{
    const QString path = folder.filePath(QString::fromStdString(fileName));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return path.toStdString();
}

std::shared_ptr<MemoryProject> WindowTest::Project(const std::string& fileName, const std::vector<ModuleSpec>& modules,
                                                   std::int32_t protection)
{
    std::vector<std::shared_ptr<MemoryComponent>> components;
    for (const ModuleSpec& source : modules) {
        auto module = std::make_shared<MemoryCodeModule>(source.name, ModuleText::FromLines(source.lines));
        components.push_back(std::make_shared<MemoryComponent>(source.type, module));
    }
    return std::make_shared<MemoryProject>(ProjectPath(fileName), std::move(components), protection);
}

std::shared_ptr<MemoryEditor> WindowTest::Editor(std::vector<std::shared_ptr<VBProject>> projects,
                                                 std::shared_ptr<VBProject> active, const std::string& module)
{
    std::shared_ptr<CodePane> pane;
    if (!module.empty())
        pane = std::make_shared<MemoryCodePane>(active->VBComponents()->Item(module)->CodeModule());
    return std::make_shared<MemoryEditor>(std::move(projects), std::move(active), std::move(pane));
}

void WindowTest::Open(std::shared_ptr<VBE> editor)
{
    ModHtml().HostEditor = std::move(editor);
    if (!window)
        window = std::make_unique<frmAddIn>();
    window->Show();
}

void WindowTest::OpenStandard(const std::string& activeModule)
{
    auto first = Project("Book1.xlsm", book1);
    auto second = Project("Book2.xlsm", {StandardModule("Other")});
    Open(Editor({first, second}, first, activeModule));
}

void WindowTest::Click(const char* button) const
{
    QTest::mouseClick(Button(button), Qt::LeftButton);
}

void WindowTest::ClickRow(const char* list, int row, Qt::KeyboardModifiers modifiers) const
{
    ListBox* box = List(list);
    ASSERT_NE(box->item(row), nullptr) << list << " row " << row;
    const QPoint centre = box->visualItemRect(box->item(row)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, modifiers, centre);
}

std::vector<std::string> WindowTest::Items(const char* list) const
{
    std::vector<std::string> items;
    ListBox* box = List(list);
    for (int row = 0; row < box->count(); ++row)
        items.push_back(box->ItemText(row));
    return items;
}

std::string WindowTest::Text(const char* label) const
{
    return Label(label)->text().toStdString();
}

std::string WindowTest::ViewText(const char* view) const
{
    return quillmark::ViewText(View(view));
}

QColor WindowTest::StatusColour() const
{
    return Label("lbl5")->palette().color(QPalette::WindowText);
}

} // namespace quillmark::test
