#include "programs/standin-editor/MenuCommandBars.h"

#include "base/RuntimeError.h"

#include <QAction>
#include <QMenu>

namespace quillmark {
namespace {

constexpr std::int16_t msoControlButton = 1;

} // namespace

void ButtonClickSource::Click(const std::shared_ptr<CommandBarControl>& control, bool& handled, bool& cancelDefault)
{
    if (handler_)
        handler_(control, handled, cancelDefault);
}

MenuButton::MenuButton(QAction* action) : action_(action)
{}

std::string MenuButton::Caption()
{
    if (!action_)
        throw RuntimeError(err::InvalidCall);
    return action_->text().toStdString();
}

void MenuButton::SetCaption(const std::string& caption)
{
    if (!action_)
        throw RuntimeError(err::InvalidCall);
    action_->setText(QString::fromStdString(caption));
}

void MenuButton::Delete()
{
    if (!action_)
        throw RuntimeError(err::InvalidCall);
    delete action_.data();
}

void MenuButton::AddClickSource(const std::shared_ptr<ButtonClickSource>& source)
{
    sources_.push_back(source);
}

void MenuButton::Clicked()
{
    // A handler may drop sources or delete this very button: work from a copy and a strong self.
    const auto self = shared_from_this();
    const auto sources = sources_;
    std::erase_if(sources_, [](const auto& s) { return s.expired(); });
    for (const auto& weak : sources) {
        if (const auto source = weak.lock()) {
            bool handled = false;
            bool cancelDefault = false;
            source->Click(self, handled, cancelDefault);
        }
    }
}

std::shared_ptr<CommandBarControls> MenuCommandBar::Controls()
{
    return {self.lock(), this};
}

std::shared_ptr<CommandBarControl> MenuCommandBar::Add(std::int16_t type)
{
    if (type != msoControlButton || !menu_)
        throw RuntimeError(err::InvalidCall);
    auto* action = menu_->addAction(QString());
    auto button = std::make_shared<MenuButton>(action);
    // An entry whose button object is gone stays in the menu and does nothing.
    QObject::connect(action, &QAction::triggered, action, [weak = std::weak_ptr<MenuButton>(button)] {
        if (const auto alive = weak.lock())
            alive->Clicked();
    });
    return button;
}

void MenuCommandBars::AddBar(const std::string& name, QMenu* menu)
{
    auto bar = std::make_shared<MenuCommandBar>(menu);
    bar->self = bar;
    bars_[name] = bar;
}

std::shared_ptr<CommandBar> MenuCommandBars::Item(const std::string& name)
{
    const auto it = bars_.find(name);
    return it == bars_.end() ? nullptr : it->second;
}

std::shared_ptr<CommandBarEvents> MenuEvents::CommandBarEvents(const std::shared_ptr<CommandBarControl>& control)
{
    auto button = std::dynamic_pointer_cast<MenuButton>(control);
    if (!button)
        throw RuntimeError(err::InvalidCall);
    auto source = std::make_shared<ButtonClickSource>();
    button->AddClickSource(source);
    return source;
}

} // namespace quillmark
