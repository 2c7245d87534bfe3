#pragma once
// A numbered list of balloon messages, shown and hidden by display order through a
// balloon component.

#include "ui/hints/message_hint.hpp"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace ludrin::ui::hints {

class TMessageSetItems;

class TMessageSetItem {
public:
    explicit TMessageSetItem(const TMessageSetItems& owner) : owner_(&owner) {}

    std::wstring Title;
    std::wstring MessageString; // empty: the anchor control's own tool-tip text
    const HintControl* Control = nullptr;
    THintIcon Icon = THintIcon::hitCustom;
    std::optional<Rgb> Color; // none: the balloon's own colour

    int DisplayOrder() const { return displayOrder_; }
    // A group outside 0 to the item count - 1 is refused and the old value stays.
    void SetDisplayOrder(int order);

private:
    const TMessageSetItems* owner_;
    int displayOrder_ = 0;
};

class TMessageSetItems {
public:
    TMessageSetItems() = default;
    TMessageSetItems(const TMessageSetItems&) = delete;
    TMessageSetItems& operator=(const TMessageSetItems&) = delete;

    TMessageSetItem& Add() { return items_.emplace_back(*this); }
    std::size_t Count() const { return items_.size(); }
    TMessageSetItem& operator[](std::size_t index) { return items_.at(index); }
    const TMessageSetItem& operator[](std::size_t index) const { return items_.at(index); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::deque<TMessageSetItem> items_; // items keep their address as the list grows
};

class TMessageHintController {
public:
    TMessageSetItems Items;
    TMessageHint* MessageHintControl = nullptr;

    // Every item of that display order, in list order; -1: every item.
    void ShowMessages(int displayOrder);
    void HideMessages(int displayOrder);
};

} // namespace ludrin::ui::hints
