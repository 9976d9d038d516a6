#include "FakeHost.h"

#include <algorithm>

namespace quillmark::test {

void FakeControl::Delete()
{
    auto& list = bar_->controls;
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& c) { return c.get() == this; });
    if (it == list.end())
        throw RuntimeError(err::InvalidCall);
    list.erase(it);
}

std::shared_ptr<CommandBarControl> FakeBar::Add(std::int16_t type)
{
    if (type != 1)
        throw RuntimeError(err::InvalidCall);
    controls.push_back(std::make_shared<FakeControl>(this));
    return controls.back();
}

std::vector<std::string> FakeBar::Captions() const
{
    std::vector<std::string> captions;
    for (const auto& c : controls)
        captions.push_back(c->Caption());
    return captions;
}

void FakeClickSource::SetClickHandler(ClickHandler handler)
{
    if (refuses && handler)
        throw RuntimeError(459, "オブジェクトまたはクラスがこのイベントのセットをサポートしていません。");
    handler_ = std::move(handler);
}

void FakeClickSource::Click(bool& handled, bool& cancelDefault)
{
    if (handler_)
        handler_(nullptr, handled, cancelDefault);
}

void FakeClickSource::Click()
{
    bool handled = false;
    bool cancelDefault = false;
    Click(handled, cancelDefault);
}

std::shared_ptr<CommandBarEvents> FakeEvents::CommandBarEvents(const std::shared_ptr<CommandBarControl>& control)
{
    if (failure)
        throw *failure;
    if (!control)
        throw RuntimeError(err::InvalidCall);
    auto& source = sources[control];
    if (!source) {
        source = std::make_shared<FakeClickSource>();
        source->refuses = refuseBinding;
    }
    return source;
}

std::shared_ptr<CommandBar> FakeBars::Item(const std::string& name)
{
    const auto it = bars.find(name);
    return it == bars.end() ? nullptr : it->second;
}

FakeEditor::FakeEditor(std::shared_ptr<MemoryEditor> code, bool withAddInsBar) : code_(std::move(code))
{
    if (withAddInsBar) {
        auto bar = std::make_shared<FakeBar>();
        bar->self_ = bar;
        bar->Add(1)->SetCaption("Add-In Manager...");
        bars->bars["Add-Ins"] = bar;
    }
}

FakeClickSource& FakeEditor::SourceOf(const std::string& caption)
{
    for (const auto& c : AddIns().controls)
        if (c->Caption() == caption)
            return *events->sources.at(c);
    throw RuntimeError(err::SubscriptOutOfRange);
}

} // namespace quillmark::test
