// The button control, and checking and unchecking check boxes and radio
// buttons from a program.
#include "components/widgets/vell_button.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontMetrics>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "components/widgets/geometry_bounds.h"
#include "components/widgets/simple_controls.h"

using vell::widgets::VellGetTextExtent;

namespace {

const QString kLong = QStringLiteral("A caption far longer than the face of the button");

}  // namespace

TEST(VellButton, CaptionCutToTheFace) {
  QWidget parent;
  TVellButton button(&parent);
  button.SetCaption(kLong);
  EXPECT_EQ(button.GetCaption(), kLong);
  const QString shown = button.ShownCaption();
  const QFontMetrics metrics(button.font());
  // The leading characters that fit within Width - Margin - 7.
  const int room = 75 + 1 - 7;
  ASSERT_FALSE(shown.isEmpty());
  ASSERT_LT(shown.size(), kLong.size());
  EXPECT_TRUE(kLong.startsWith(shown));
  EXPECT_LE(metrics.horizontalAdvance(shown), room);
  EXPECT_GT(metrics.horizontalAdvance(kLong.left(shown.size() + 1)), room);

  // Wider shows more; a margin takes room away.
  button.SetWidth(1000);
  EXPECT_EQ(button.ShownCaption(), kLong);
  EXPECT_EQ(button.InnerButton()->width(), 1000);
  button.SetWidth(75);
  button.SetMargin(40);
  EXPECT_LT(button.ShownCaption().size(), shown.size());
  EXPECT_EQ(button.GetMargin(), 40);
  button.SetHeight(40);
  EXPECT_EQ(button.InnerButton()->height(), 40);

  // Never past a CR, never more than 255 units; nothing when nothing fits.
  button.SetWidth(100000);
  button.SetCaption(QStringLiteral("first\rsecond"));
  EXPECT_EQ(button.ShownCaption(), QStringLiteral("first"));
  button.SetCaption(QString(300, QLatin1Char('i')));
  EXPECT_EQ(button.ShownCaption().size(), 255);
  EXPECT_EQ(VellGetTextExtent(metrics, u"WWW", 0), 0);
  EXPECT_EQ(VellGetTextExtent(metrics, u"", 100), 0);
}

TEST(VellButton, AlignmentStyleAndMargin) {
  QWidget parent;
  TVellButton button(&parent);
  button.SetCaption(kLong);
  const QString shown = button.ShownCaption();
  button.SetAlignment(TVellButton::LeftJustify);
  EXPECT_EQ(button.GetMargin(), 1);
  EXPECT_EQ(button.InnerButton()->Margin(), 1);
  EXPECT_FALSE(button.InnerButton()->RightLayout());
  button.SetAlignment(TVellButton::RightJustify);
  EXPECT_TRUE(button.InnerButton()->RightLayout());
  // Alignment does not cut the caption again.
  EXPECT_EQ(button.ShownCaption(), shown);
  button.SetAlignment(TVellButton::Center);
  EXPECT_EQ(button.GetMargin(), -1);

  button.SetButtonStyle(2);
  EXPECT_EQ(button.frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(button.InnerButton()->isFlat());
  button.SetButtonStyle(3);  // kept, without effect
  EXPECT_EQ(button.GetButtonStyle(), 3);
  EXPECT_EQ(button.frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(button.InnerButton()->isFlat());
  button.SetButtonStyle(0);
  EXPECT_EQ(button.frameShape(), QFrame::Panel);
  EXPECT_FALSE(button.InnerButton()->isFlat());
  const QColor face = button.palette().color(QPalette::Window);
  button.SetButtonStyle(1);
  EXPECT_TRUE(button.InnerButton()->isFlat());
  EXPECT_EQ(button.frameShadow(), QFrame::Raised);
  EXPECT_EQ(button.palette().color(QPalette::Window), face);
}

TEST(VellButton, ExtremeMarginsAndSizes) {
  QWidget parent;
  TVellButton button(&parent);
  button.SetCaption(QStringLiteral("Button"));
  // A margin far below 0 leaves all the room there is: the whole caption.
  button.SetMargin(-2147483647);
  EXPECT_EQ(button.GetMargin(), -2147483647);
  EXPECT_EQ(button.ShownCaption(), QStringLiteral("Button"));
  EXPECT_EQ(button.InnerButton()->Margin(), -vell::kMaxMargin);
  // One far above leaves none.
  button.SetMargin(2147483647);
  EXPECT_EQ(button.GetMargin(), 2147483647);
  EXPECT_EQ(button.ShownCaption(), QString());
  EXPECT_EQ(button.InnerButton()->Margin(), vell::kMaxMargin);
  button.SetAlignment(TVellButton::RightJustify);
  EXPECT_EQ(button.InnerButton()->Margin(), vell::kMaxMargin);
  // Sizes stop at what a window system shows.
  button.SetWidth(2147483647);
  button.SetHeight(16777215);
  EXPECT_EQ(button.GetWidth(), vell::kMaxControlSide);
  EXPECT_EQ(button.GetHeight(), vell::kMaxControlSide);
  EXPECT_EQ(button.InnerButton()->size(), button.size());
  button.SetWidth(-2147483647 - 1);
  EXPECT_EQ(button.GetWidth(), 0);
}

TEST(VellButton, InnerEventsAreTheControls) {
  QWidget parent;
  parent.resize(200, 100);
  auto* button = new TVellButton(&parent);
  parent.show();
  QSignalSpy clicks(button, &TVellButton::clicked);
  QSignalSpy presses(button, &TVellButton::mousePressed);
  QTest::mouseClick(button->InnerButton(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
  EXPECT_EQ(clicks.count(), 1);
  ASSERT_EQ(presses.count(), 1);
  EXPECT_EQ(presses[0][2].toPoint(), QPoint(10, 5));
  EXPECT_EQ(presses[0][0].value<Qt::MouseButton>(), Qt::LeftButton);

  // Freeing the control frees its inner button.
  QPointer<QPushButton> inner = button->InnerButton();
  delete button;
  EXPECT_TRUE(inner.isNull());
}

TEST(VellButton, InnerNamesNeverRepeat) {
  QWidget owner;
  auto* first = new TVellButton(&owner);
  auto* second = new TVellButton(&owner);
  const QString firstName = first->InnerButton()->objectName();
  const QString secondName = second->InnerButton()->objectName();
  delete first;
  auto* third = new TVellButton(&owner);
  EXPECT_NE(firstName, secondName);
  EXPECT_NE(third->InnerButton()->objectName(), firstName);
  EXPECT_NE(third->InnerButton()->objectName(), secondName);
}

TEST(SimpleControls, CheckingAndUnchecking) {
  QWidget parent;
  auto* a = new QRadioButton(&parent);
  auto* b = new QRadioButton(&parent);
  auto* box = new QCheckBox(&parent);
  vell::widgets::SetButtonChecked(*a, true);
  vell::widgets::SetButtonChecked(*b, true);
  EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(b->isChecked());
  // Unchecking the checked radio button from a program leaves none checked.
  vell::widgets::SetButtonChecked(*b, false);
  EXPECT_FALSE(b->isChecked());
  EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(b->autoExclusive());
  // Exclusivity still holds afterwards.
  vell::widgets::SetButtonChecked(*a, true);
  vell::widgets::SetButtonChecked(*b, true);
  EXPECT_FALSE(a->isChecked());

  vell::widgets::SetButtonChecked(*box, true);
  EXPECT_TRUE(box->isChecked());
  vell::widgets::SetButtonChecked(*box, false);
  EXPECT_FALSE(box->isChecked());
}
