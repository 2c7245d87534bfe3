#include "support/recording_balloons.hpp"
#include "ui/hints/message_hint.hpp"
#include "ui/hints/message_hint_controller.hpp"

#include <gtest/gtest.h>

namespace ludrin::ui::hints {
namespace {

using ludrin::testing::BalloonEvent;
using ludrin::testing::FakeControl;
using ludrin::testing::RecordingBalloons;

class MessageHintTest : public ::testing::Test {
protected:
    MessageHintTest() {
        hint_.SetAllowMultipleHints(true);
        hint_.RightAngledNose = true;
        controller_.MessageHintControl = &hint_;
    }

    // Adds an item pointing at `control`, in display order `order`.
    TMessageSetItem& Item(const FakeControl& control, int order, std::wstring message) {
        TMessageSetItem& item = controller_.Items.Add();
        item.Control = &control;
        item.MessageString = std::move(message);
        item.SetDisplayOrder(order);
        return item;
    }

    std::vector<int> OrdersListed() const {
        std::vector<int> orders;
        for (const auto& window : hint_.Windows()) {
            orders.push_back(window->DisplayOrder);
        }
        return orders;
    }

    RecordingBalloons host_;
    TMessageHint hint_{host_};
    TMessageHintController controller_;
    FakeControl first_{{100, 400, 301, 445}, L"first's tool tip"};
    FakeControl second_{{100, 500, 300, 545}};
};

TEST_F(MessageHintTest, TwoShowMessagesOfOneOrderOpenTwoIdenticalBalloons) {
    Item(first_, 0, L"one");
    Item(second_, 0, L"two").SetDisplayOrder(1);
    controller_.ShowMessages(0);
    controller_.ShowMessages(0);
    ASSERT_EQ(host_.Alive().size(), 2u);
    EXPECT_EQ(host_.Visible(), 2);
    EXPECT_EQ(host_.Alive()[0]->picture.window, host_.Alive()[1]->picture.window);
    EXPECT_EQ(host_.Alive()[0]->picture.text, L"one");
    EXPECT_EQ(OrdersListed(), (std::vector<int>{0, 0}));
    // The anchor is the control's centre, halves rounded toward zero.
    EXPECT_EQ(hint_.Windows()[0]->Anchor, (Point{200, 422}));
}

TEST_F(MessageHintTest, HideMessagesFreesOneOrderFromTheLastOpenedToTheFirst) {
    Item(first_, 0, L"one");
    Item(second_, 0, L"two").SetDisplayOrder(1);
    controller_.ShowMessages(0); // window 0
    controller_.ShowMessages(1); // window 1
    controller_.ShowMessages(0); // window 2
    host_.events.clear();

    controller_.HideMessages(5); // no such order: nothing
    EXPECT_TRUE(host_.events.empty());
    controller_.HideMessages(0);
    ASSERT_EQ(host_.events.size(), 2u);
    EXPECT_EQ(host_.events[0].window, 2);
    EXPECT_EQ(host_.events[1].window, 0);
    EXPECT_EQ(OrdersListed(), (std::vector<int>{1}));
    EXPECT_TRUE(hint_.IsDisplaying());
    controller_.HideMessages(-1);
    EXPECT_FALSE(hint_.IsDisplaying());
    EXPECT_TRUE(host_.Alive().empty());
}

TEST_F(MessageHintTest, MinusOneShowsEveryItemUnderThatOrder) {
    Item(first_, 0, L"one");
    Item(second_, 0, L"two").SetDisplayOrder(1);
    controller_.ShowMessages(-1);
    EXPECT_EQ(OrdersListed(), (std::vector<int>{-1, -1}));
    controller_.HideMessages(0);
    EXPECT_EQ(hint_.Windows().size(), 2u);
    controller_.HideMessages(-1);
    EXPECT_FALSE(hint_.IsDisplaying());
}

TEST_F(MessageHintTest, CloseButtonTakesTheBalloonOffTheScreenButLeavesItListed) {
    Item(first_, 0, L"one");
    controller_.ShowMessages(0);
    TMessageHintWindow& window = *hint_.Windows()[0];
    const auto& shown = *host_.Alive()[0];
    const Rect button = window.CloseBtnRect;
    EXPECT_EQ(button, shown.picture.parts.closeButton);
    const Point inside{button.left + 2, button.top + 2};
    const Point outside{button.left - 5, button.top - 5};

    // Hot over it, normal elsewhere and after leaving.
    window.MouseMove(inside);
    EXPECT_EQ(shown.closeButton, CloseButtonState::Hot);
    window.MouseMove(outside);
    EXPECT_EQ(shown.closeButton, CloseButtonState::Normal);
    window.MouseMove(inside);
    window.MouseLeave();
    EXPECT_EQ(shown.closeButton, CloseButtonState::Normal);

    // A press elsewhere does nothing; one inside holds it pressed whatever the pointer does.
    window.MouseDown(outside);
    window.MouseUp(outside);
    EXPECT_TRUE(shown.visible);
    window.MouseDown(inside);
    EXPECT_TRUE(window.CloseBtnPressed);
    window.MouseMove(outside);
    window.MouseLeave();
    EXPECT_EQ(shown.closeButton, CloseButtonState::Pressed);

    // Released, even away from it: off the screen, still listed.
    window.MouseUp(outside);
    EXPECT_FALSE(window.CloseBtnPressed);
    EXPECT_FALSE(shown.visible);
    EXPECT_TRUE(hint_.IsDisplaying());
    ASSERT_EQ(host_.Alive().size(), 1u);

    controller_.HideMessages(0);
    EXPECT_FALSE(hint_.IsDisplaying());
    EXPECT_TRUE(host_.Alive().empty());
    EXPECT_EQ(host_.events.back().kind, BalloonEvent::Destroyed);
}

TEST_F(MessageHintTest, ControlsThatCannotBePointedAtShowNothing) {
    FakeControl hidden{{0, 0, 10, 10}};
    hidden.visible = false;
    FakeControl orphan{{0, 0, 10, 10}};
    orphan.hasParent = false;
    for (const FakeControl* control : {&hidden, &orphan, static_cast<FakeControl*>(nullptr)}) {
        hint_.ShowControlMessage(L"text", control, L"title", std::nullopt, THintIcon::hitInfo, 0);
    }
    EXPECT_FALSE(hint_.IsDisplaying());
    EXPECT_EQ(host_.created, 0);
}

TEST_F(MessageHintTest, EmptyTextsFallBackToTheToolTipAndTheDefaultTitle) {
    Item(first_, 0, L"");
    controller_.ShowMessages(0);
    const auto& picture = host_.Alive()[0]->picture;
    EXPECT_EQ(picture.text, L"first's tool tip");
    EXPECT_EQ(picture.title, L"Default title!");
    // The custom icon is the information icon; no colour keeps the system's.
    EXPECT_EQ(picture.icon, THintIcon::hitInfo);
    EXPECT_FALSE(picture.colour.has_value());
    EXPECT_EQ(picture.borderColour, kNavy);
}

TEST_F(MessageHintTest, AnItemsColourAndIconReachItsBalloon) {
    TMessageSetItem& item = Item(first_, 0, L"x");
    item.Color = Rgb{1, 2, 3};
    item.Icon = THintIcon::hitWarning;
    controller_.ShowMessages(0);
    EXPECT_EQ(host_.Alive()[0]->picture.colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(host_.Alive()[0]->picture.icon, THintIcon::hitWarning);
}

TEST_F(MessageHintTest, SingleBalloonModeClosesTheOthersFirst) {
    TMessageHint single(host_);
    EXPECT_FALSE(single.AllowMultipleHints());
    single.ShowMessage(L"a", 500, 500, L"", std::nullopt, THintIcon::hitInfo, 0);
    single.ShowMessage(L"b", 500, 500, L"", std::nullopt, THintIcon::hitInfo, 1);
    ASSERT_EQ(single.Windows().size(), 1u);
    EXPECT_EQ(single.Windows()[0]->Text, L"b");

    // Allowing several balloons also stops capturing the mouse.
    EXPECT_TRUE(single.SetCapture());
    single.SetAllowMultipleHints(true);
    EXPECT_FALSE(single.SetCapture());
}

TEST_F(MessageHintTest, ShowMessagesAllowsSeveralBalloonsItself) {
    TMessageHint single(host_);
    controller_.MessageHintControl = &single;
    Item(first_, 0, L"a");
    controller_.ShowMessages(0);
    controller_.ShowMessages(0);
    EXPECT_EQ(single.Windows().size(), 2u);
    EXPECT_FALSE(single.SetCapture());
}

TEST_F(MessageHintTest, DestroyingTheComponentFreesItsBalloons) {
    {
        TMessageHint scoped(host_);
        scoped.SetAllowMultipleHints(true);
        scoped.ShowMessage(L"a", 500, 500, L"", std::nullopt, THintIcon::hitInfo, 0);
        scoped.ShowMessage(L"b", 500, 500, L"", std::nullopt, THintIcon::hitInfo, 3);
        EXPECT_EQ(host_.Alive().size(), 2u);
    }
    EXPECT_TRUE(host_.Alive().empty());
}

TEST_F(MessageHintTest, WithoutAComponentTheControllerDoesNothing) {
    TMessageHintController alone;
    alone.Items.Add().Control = &first_;
    alone.ShowMessages(0);
    alone.HideMessages(0);
    EXPECT_EQ(host_.created, 0);
}

TEST(MessageSetItem, DisplayOrderOutsideTheItemCountIsRefused) {
    TMessageSetItems items;
    TMessageSetItem& first = items.Add();
    items.Add();
    items.Add();
    const struct {
        int set, expected;
    } cases[] = {{2, 2}, {3, 2}, {-1, 2}, {0, 0}, {1, 1}, {-5, 1}};
    for (const auto& c : cases) {
        first.SetDisplayOrder(c.set);
        EXPECT_EQ(first.DisplayOrder(), c.expected) << c.set;
    }
}

TEST_F(MessageHintTest, LengthsScaleWithTheScreensDpiAndLinesWithItsWorkArea) {
    hint_.NoseLength = 30;
    hint_.RoundRectWidth = 25;
    host_.screen = {{0, 0, 1920, 1040}, {0, 0, 1920, 1080}, 144};
    const BalloonMetrics m = hint_.MetricsFor(host_.screen);
    EXPECT_EQ(m.noseLength, 45);
    EXPECT_EQ(m.roundRectWidth, 38); // 37.5 rounded
    EXPECT_EQ(m.noseInset, 30);
    EXPECT_EQ(m.distance, 1);
    EXPECT_EQ(m.maxLineWidth, 480);
    // The tip still lands one pixel above the anchor.
    hint_.ShowMessage(L"text", 900, 700, L"t", std::nullopt, THintIcon::hitInfo, 0);
    const auto& picture = host_.Alive()[0]->picture;
    EXPECT_EQ(picture.window.left + picture.shape.Tip().x, 900);
    EXPECT_EQ(picture.window.top + picture.shape.Tip().y, 699);
}

} // namespace
} // namespace ludrin::ui::hints
