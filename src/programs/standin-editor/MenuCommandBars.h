#pragma once

#include "codemodel/HostObjectModel.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillmark {

class MenuButton;

// A click source for one button; every live source of a button receives its clicks.
class ButtonClickSource final : public CommandBarEvents {
public:
    void SetClickHandler(ClickHandler handler) override { handler_ = std::move(handler); }
    void Click(const std::shared_ptr<CommandBarControl>& control, bool& handled, bool& cancelDefault);

private:
    ClickHandler handler_;
};

// A button of a menu-backed command bar: one action of the menu.
class MenuButton final : public CommandBarControl, public std::enable_shared_from_this<MenuButton> {
public:
    explicit MenuButton(QAction* action);

    std::string Caption() override;
    void SetCaption(const std::string& caption) override;
    void Delete() override;

    void AddClickSource(const std::shared_ptr<ButtonClickSource>& source);
    QAction* Action() const { return action_; }
    void Clicked();

private:
    QPointer<QAction> action_;
    std::vector<std::weak_ptr<ButtonClickSource>> sources_;
};

// A command bar shown as a menu: added buttons go after the menu's existing entries.
class MenuCommandBar final : public CommandBar, public CommandBarControls {
public:
    explicit MenuCommandBar(QMenu* menu) : menu_(menu) {}
    std::shared_ptr<CommandBarControls> Controls() override;
    std::shared_ptr<CommandBarControl> Add(std::int16_t type) override;

    std::weak_ptr<MenuCommandBar> self;

private:
    QPointer<QMenu> menu_;
};

class MenuCommandBars final : public CommandBars {
public:
    void AddBar(const std::string& name, QMenu* menu);
    std::shared_ptr<CommandBar> Item(const std::string& name) override;

private:
    std::map<std::string, std::shared_ptr<MenuCommandBar>> bars_;
};

// The editor's Events: the click source of a button of its own bars.
class MenuEvents final : public Events {
public:
    std::shared_ptr<quillmark::CommandBarEvents>
    CommandBarEvents(const std::shared_ptr<CommandBarControl>& control) override;
};

} // namespace quillmark
