// Every component type, in the real main window, with extreme numbers in
// every member that takes one: each value is set, the control is painted,
// and every property is read back. Positions and sizes must come back
// bounded (they are checked before anything is painted, so that a size
// that would freeze the window fails at once); the rest must merely not
// crash, hang or trip the sanitizers. Slots 0 and 1, the main window and
// the output area, get the same.
//
// Left out, as they take no number: the event members (they take a SUB's
// name) and the methods without arguments (CLS, FOCUS, MERGE, PASTE, PLAY,
// PRINTER, SHOW, STOP). PRINT takes its value and is swept.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "components/keywords/component_node.h"
#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/vell_button.h"
#include "core/codes.h"
#include "gui_support.h"

using namespace vell;
using namespace vell::testing;

namespace {

constexpr double kExtremeValues[] = {
    0,     1,        -1,         255,         256,           32767, 32768, 65535,
    65536, 16777215, 2147483647, -2147483647, -2147483648.0, 1e300, -1e300};

constexpr int kSweptTypes[] = {TypeForm,      TypeButton,      TypeLabel,   TypeTextBox,
                               TypeCheckBox,  TypeRadioButton, TypeListBox, TypeComboBox,
                               TypeScrollBar, TypeGroupBox,    TypeImage,   TypePanel,
                               TypeTimer,     TypeMediaPlayer};

// Peak memory of the process, in kilobytes.
long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// How much more the sweep of one type may take at its peak.
constexpr long kMaxPeakGrowthKilobytes = 1024L * 1024L;

bool IsProperty(int member) { return member <= kLastPropertyMember; }

bool TakesANumber(int member) {
  if (member >= kFirstEventMember && member <= kLastEventMember) return false;
  return member == MemberPrint || IsProperty(member) || MemberArgumentCount(member) > 0;
}

std::string Name(int member) {
  std::string name;
  for (const char16_t c : MemberKeyword(member)) name += static_cast<char>(c);
  return name;
}

class ExtremeValues : public ::testing::TestWithParam<int> {
 protected:
  ExtremeValues() {
    // SAVEFILE and friends write files named by the numbers.
    EXPECT_TRUE(dir.isValid());
    QDir::setCurrent(dir.path());
    w.form->show();
  }

  // One component request as the interpreter sends it; the answer.
  vellvar Request(int operation, int slot, int member, const vellvar& arg = vellvar(0)) {
    Interpreter& interp = *gInterpreter;
    interp.requestSlots[0].SetItem(vellvar(static_cast<int>(RequestComponent)));
    interp.requestSlots[1].SetItem(vellvar(operation));
    interp.requestSlots[2].SetItem(vellvar(slot));
    interp.requestSlots[3].SetItem(vellvar(member));
    for (int i = 4; i < 7; ++i) interp.requestSlots[i].SetItem(arg);
    SendHostRequest(interp);            // to the window's request dispatcher
    SetRunState(interp, StateRunning);  // an unknown member's error is no concern here
    return operation == ComponentGet ? interp.requestSlots[4].item : interp.requestSlots[1].item;
  }
  int ReadInt(int slot, int member) { return Request(ComponentGet, slot, member).ToInt(); }

  bool Has(int type, int member) { return std::ranges::count(ComponentMembers(type), member) > 0; }

  // Positions and sizes as a program reads them, within the bounds.
  bool GeometryBounded(int slot, int type, const std::string& what) {
    // A form's WIDTH and HEIGHT take in the frame that the window system adds.
    const QRect frame = w.form->frameGeometry();
    const int maxSide =
        kMaxControlSide + (type == TypeForm ? std::max(frame.width() - w.form->width(),
                                                       frame.height() - w.form->height())
                                            : 0);
    const struct {
      int member, low, high;
    } bounds[] = {{MemberLeft, kMinCoordinate, kMaxCoordinate},
                  {MemberTop, kMinCoordinate, kMaxCoordinate},
                  {MemberWidth, 0, maxSide},
                  {MemberHeight, 0, maxSide},
                  {MemberClientWidth, 0, maxSide},
                  {MemberClientHeight, 0, maxSide},
                  {MemberMargin, 0, kMaxMargin}};
    bool bounded = true;
    for (const auto& [member, low, high] : bounds) {
      // A button's MARGIN reads back as it was set.
      if (!Has(type, member) || (member == MemberMargin && type != TypeTextBox)) continue;
      const int v = ReadInt(slot, member);
      if (v < low || v > high) {
        ADD_FAILURE() << what << ": " << Name(member) << " reads " << v;
        bounded = false;
      }
    }
    return bounded;
  }

  // Sets every member that takes a number to every value; returns false
  // after a failure that painting would turn into a freeze.
  bool Sweep(int slot, int type) {
    const std::span<const MemberCode> members = ComponentMembers(type);
    for (const MemberCode member : members) {
      if (!TakesANumber(member)) continue;
      // A property goes back to what it was, so that the next one meets the
      // component as it was made.
      const bool restore = IsProperty(member) && member != MemberParent;
      const vellvar before = restore ? Request(ComponentGet, slot, member) : vellvar(0);
      for (const double value : kExtremeValues) {
        const std::string what = Name(member) + " = " + std::to_string(value);
        Request(ComponentSet, slot, member, vellvar(value));
        if (!GeometryBounded(slot, type, what)) return false;
        QCoreApplication::processEvents();
        w.form->repaint();
        for (const MemberCode read : members) {
          if (IsProperty(read)) Request(ComponentGet, slot, read);
        }
      }
      if (restore) Request(ComponentSet, slot, member, before);
      if (member == MemberParent && slot >= kFirstProgramSlot) {
        Request(ComponentSet, slot, member, vellvar(0));
      }
    }
    QCoreApplication::processEvents();
    return true;
  }

  QTemporaryDir dir;
  WindowFixture w;
};

TEST_P(ExtremeValues, EveryNumericMemberOfTheType) {
  const int type = GetParam();
  const long peakBefore = PeakKilobytes();
  QElapsedTimer clock;
  clock.start();
  const int slot = Request(ComponentSet, 0, MemberCreate, vellvar(type)).ToInt();
  ASSERT_GE(slot, kFirstProgramSlot);
  // A form shows, so that it is painted with what it is given.
  if (type == TypeForm) Request(ComponentSet, slot, MemberShow);
  EXPECT_TRUE(Sweep(slot, type));
  EXPECT_EQ(Request(ComponentSet, slot, MemberDelete).ToInt(), 1);
  QCoreApplication::processEvents();
  EXPECT_LT(PeakKilobytes() - peakBefore, kMaxPeakGrowthKilobytes);
  RecordProperty("milliseconds", static_cast<int>(clock.elapsed()));
  // Errors of members given numbers that name no file were shown, not thrown.
  EXPECT_EQ(gInterpreter->runState, StateRunning);
}

INSTANTIATE_TEST_SUITE_P(Types, ExtremeValues, ::testing::ValuesIn(kSweptTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (const char16_t c : ComponentTypeKeyword(info.param))
                             name += static_cast<char>(c);
                           return name;
                         });

TEST_F(ExtremeValues, TheMainWindowAndTheOutputArea) {
  for (const auto& [slot, type] :
       {std::pair{kMainWindowSlot, TypeForm}, std::pair{kOutputAreaSlot, TypeTextBox}}) {
    EXPECT_TRUE(Sweep(slot, type)) << slot;
    // The window still works: it prints and runs.
    w.form->MenuProgClsClick();
    EXPECT_EQ(w.Run(u"PRINT 1+1"), u"2") << slot;
  }
}

// A control far larger than the window is painted with no more memory than
// the part of it that shows takes.
TEST_F(ExtremeValues, LargeControlsPaintWhatShows) {
  const long peakBefore = PeakKilobytes();
  for (const int type : {TypeButton, TypeLabel, TypeTextBox, TypeCheckBox, TypeRadioButton,
                         TypeListBox, TypeComboBox, TypeScrollBar, TypeGroupBox, TypePanel}) {
    const int slot = Request(ComponentSet, 0, MemberCreate, vellvar(type)).ToInt();
    ASSERT_GE(slot, kFirstProgramSlot);
    Request(ComponentSet, slot, MemberWidth, vellvar(kMaxControlSide));
    Request(ComponentSet, slot, MemberHeight, vellvar(kMaxControlSide));
    QCoreApplication::processEvents();
    w.form->repaint();
  }
  QCoreApplication::processEvents();
  // A style that paints a control through a picture of its size would take
  // 4 GB for each.
  EXPECT_LT(PeakKilobytes() - peakBefore, kMaxPeakGrowthKilobytes);
}

// A form or the main window sized far beyond the screen is painted with no
// more memory than a few screens take: the window system is given a bounded
// size (window_programs/form_beyond_screen reads it back).
TEST_F(ExtremeValues, WindowsFarBeyondTheScreenPaintWhatAScreenCanShow) {
  const long peakBefore = PeakKilobytes();
  const int slot = Request(ComponentSet, 0, MemberCreate, vellvar(TypeForm)).ToInt();
  ASSERT_GE(slot, kFirstProgramSlot);
  Request(ComponentSet, slot, MemberShow);
  for (const int window : {slot, kMainWindowSlot}) {
    for (const int member : {MemberWidth, MemberHeight, MemberClientWidth, MemberClientHeight}) {
      Request(ComponentSet, window, member, vellvar(100000));
    }
  }
  QCoreApplication::processEvents();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible()) top->repaint();
  }
  EXPECT_LT(PeakKilobytes() - peakBefore, kMaxPeakGrowthKilobytes);
}

}  // namespace
