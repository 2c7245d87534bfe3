#include "ui/hints/message_hint_controller.hpp"

namespace ludrin::ui::hints {

void TMessageSetItem::SetDisplayOrder(int order) {
    if (order >= 0 && static_cast<std::size_t>(order) < owner_->Count()) {
        displayOrder_ = order;
    }
}

void TMessageHintController::ShowMessages(int displayOrder) {
    if (MessageHintControl == nullptr) {
        return;
    }
    MessageHintControl->SetAllowMultipleHints(true);
    for (const TMessageSetItem& item : Items) {
        if (displayOrder == -1 || item.DisplayOrder() == displayOrder) {
            MessageHintControl->ShowControlMessage(item.MessageString, item.Control, item.Title,
                                                   item.Color, item.Icon, displayOrder);
        }
    }
}

void TMessageHintController::HideMessages(int displayOrder) {
    if (MessageHintControl != nullptr) {
        MessageHintControl->HideMessages(displayOrder);
    }
}

} // namespace ludrin::ui::hints
