// The component table offscreen, driven by program texts whose component
// requests a recording host hands to the table: slot numbering and reuse, a
// full table, dispatch by the stored type, deletion and the orphan sweep, the
// start-up header and events.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "components/keywords/component_keywords.h"
#include "components/keywords/component_node.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"
#include "components/widgets/member_failure.h"
#include "components/widgets/vell_button.h"
#include "library/library_builtins.h"
#include "tests/support/component_window.h"
#include "tests/support/kept_warnings.h"

using namespace vell;

namespace {

using vell::mwin;
using vell::test::TestInterpreter;
using vell::test::Utf8;

class ComponentTable : public ::testing::Test {
 protected:
  explicit ComponentTable(vell::ComponentTypeLookup types = nullptr) : table(window, types) {
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    test::PrepareComponentTable(table, I());
  }
  ~ComponentTable() override { test::ReleaseComponentTable(table); }
  Interpreter& I() { return t.interp(); }
  int GlobalInt(std::u16string_view name) {
    if (const vellarray* global = test::FindGlobal(I(), name)) return global->item.ToInt();
    ADD_FAILURE() << "no global " << Utf8(name);
    return -1;
  }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  int UsedProgramSlots() const {
    int n = 0;
    for (int i = vell::kFirstProgramSlot; i < vell::kComponentSlots; ++i) n += table.Slot(i).inUse;
    return n;
  }

  TestInterpreter t;
  test::StandInWindow window;
  mwin table;
};

TEST_F(ComponentTable, StartUpBindsThePredefinedComponentsAndProtectsTheirVariables) {
  const int types[] = {TypeForm, TypeTextBox, TypeOpenDialog, TypeSaveDialog, TypePrinterDialog};
  const char16_t* names[] = {u"MAINFORM", u"MAINTEXTBOX", u"OPENDIALOG", u"SAVEDIALOG",
                             u"PRINTERDIALOG"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(table.Slot(i).Usable()) << i;
    EXPECT_EQ(table.Slot(i).type, types[i]);
    EXPECT_EQ(I().globals[i].kind, types[i]);
    EXPECT_EQ(I().globals[i].item.ToInt(), i);
    vellvar key(I().globals[i].key);
    EXPECT_EQ(std::u16string(key.WideText()), names[i]);
  }
  EXPECT_EQ(table.Slot(0).object.data(), &window.main);
  EXPECT_EQ(table.Slot(1).object.data(), window.output);
  EXPECT_EQ(UsedProgramSlots(), 0);
  EXPECT_EQ(I().subTop, 5);
  // LIST passes over them; NEW keeps them.
  EXPECT_EQ(Run(u"GLOBAL X\nLIST"), "Var:X\n");
  Run(u"NEW");
  EXPECT_EQ(I().globals[0].kind, TypeForm);
  EXPECT_EQ(I().globals[4].kind, TypePrinterDialog);
  EXPECT_EQ(I().globals[5].kind, NodeFree);
  // The header's listing of a predefined variable.
  const std::string listing = Run(u"#DB MainForm");
  EXPECT_EQ(listing.substr(0, 38), "    no=1 type=31 name=ALIGN data= coun");
  EXPECT_NE(listing.find("\n  no=1 type=11 name=MAINFORM data=0 count=29\n"), std::string::npos);
}

TEST_F(ComponentTable, SlotsAreTakenInOrderReusedAndRunOut) {
  EXPECT_EQ(Run(u"GLOBAL A, B, C\nA = CREATE BUTTON\nB = CREATE LABEL\nPRINT A, B\n"
                u"DELETE A\nC = CREATE TIMER\nPRINT C"),
            "565");
  EXPECT_EQ(table.Slot(5).type, TypeTimer);
  EXPECT_EQ(table.Slot(6).type, TypeLabel);
  for (int i = 7; i < vell::kComponentSlots; ++i) Run(u"CREATE TIMER");
  EXPECT_EQ(UsedProgramSlots(), 195);
  EXPECT_NE(Run(u"CREATE TIMER").find("area overflow"), std::string::npos);
  EXPECT_EQ(UsedProgramSlots(), 195);
  // The dialogs and unknown types are never made.
  Run(u"DELETE B");
  for (const char16_t* text : {u"CREATE OPENDIALOG", u"CREATE PRINTERDIALOG", u"CREATE NOSUCH"}) {
    EXPECT_NE(Run(text).find("area overflow"), std::string::npos) << Utf8(text);
  }
  EXPECT_EQ(table.Slot(6).inUse, 0u);
}

TEST_F(ComponentTable, RequestsGoToTheTypeStoredInTheSlot) {
  Run(u"GLOBAL A, B, X\nB = CREATE BUTTON\nSET A = B\nDELETE B");
  // A freed slot reads 0 and changes nothing, without an error.
  EXPECT_EQ(Run(u"X = 7\nX = A.LEFT\nPRINT X\nA.LEFT = 10\nPRINT \"!\""), "0!");
  // A timer in the same slot does not know LEFT.
  Run(u"CREATE TIMER");
  EXPECT_NE(Run(u"A.LEFT = 10").find("undefined error"), std::string::npos);
  // Slot numbers outside the table answer 0.
  SetRunState(I(), StateRunning);
  EXPECT_EQ(table.SetMember(I(), 200, MemberLeft, I().requestSlots[4]), 0);
  EXPECT_EQ(table.SetMember(I(), -1, MemberLeft, I().requestSlots[4]), 0);
  EXPECT_EQ(I().runState, StateRunning);
}

// The member tables and the bindings of the type files agree: every member a
// type lists is bound (a property is read and written, PARENT only written;
// a method or event is called, never read); nothing the type does not list
// is bound, and no row of the type's own table names such a member.
TEST_F(ComponentTable, EveryListedMemberIsBoundAndNothingElse) {
  for (int32_t type = vell::kFirstComponentType; type <= vell::kLastComponentType; ++type) {
    const std::span<const MemberCode> listed = vell::ComponentMembers(type);
    const auto lists = [&](int32_t member) { return std::ranges::count(listed, member) > 0; };
    for (int32_t member = 0; member <= vell::kLastEventMember; ++member) {
      SCOPED_TRACE(Utf8(vell::ComponentTypeKeyword(type)) + "." +
                   Utf8(vell::MemberKeyword(member)) + " " + std::to_string(member));
      const vell::MemberBinding b = table.BindingOf(type, member);
      if (!lists(member)) {
        EXPECT_EQ(b.set, nullptr);
        EXPECT_EQ(b.get, nullptr);
        continue;
      }
      EXPECT_NE(b.set, nullptr);
      const bool readable = member <= vell::kLastPropertyMember && member != MemberParent;
      EXPECT_EQ(b.get != nullptr, readable);
    }
    for (const vell::MemberBinding& row : vell::ComponentTypeOf(type).bindings[0]) {
      EXPECT_TRUE(lists(row.member)) << Utf8(vell::ComponentTypeKeyword(type)) << " binds "
                                     << Utf8(vell::MemberKeyword(row.member));
    }
  }
}

TEST_F(ComponentTable, ThePredefinedComponentsCannotBeDeleted) {
  for (const char16_t* name : {u"MainForm", u"MainTextBox", u"OpenDialog", u"PrinterDialog"}) {
    EXPECT_NE(Run(u"DELETE " + std::u16string(name)).find("undefined error"), std::string::npos);
  }
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(table.Slot(i).Usable()) << i;
    EXPECT_EQ(I().globals[i].childCount,
              static_cast<int>(vell::ComponentMembers(table.Slot(i).type).size()));
  }
  EXPECT_TRUE(window.output->isVisibleTo(&window.main));
}

TEST_F(ComponentTable, DeletingFreesTheSlotAtOnceAndTheObjectLater) {
  Run(u"GLOBAL B\nB = CREATE BUTTON");
  QPointer<QObject> button = table.Slot(5).object;
  ASSERT_TRUE(button);
  EXPECT_EQ(button->parent(), window.panel);
  {
    // While an event of the component runs, its object stays.
    mwin::EventScope running(table, button);
    Run(u"DELETE B");
    EXPECT_EQ(table.Slot(5).inUse, 0u);
    ASSERT_TRUE(button);
    EXPECT_TRUE(static_cast<QWidget*>(button.data())->isHidden());
    table.CarryOutPendingDeletions();
    EXPECT_TRUE(button);
  }
  // The next request of the program carries the deletion out.
  Run(u"B = CREATE TIMER");
  EXPECT_FALSE(button);
  EXPECT_EQ(table.PendingDeletions(), 0);
  // With no event running, a delete takes the object at once.
  QPointer<QObject> timer = table.Slot(5).object;
  Run(u"DELETE B");
  EXPECT_FALSE(timer);
}

TEST_F(ComponentTable, ASlotWhoseObjectWentCountsAsFree) {
  Run(u"GLOBAL B, X\nB = CREATE BUTTON");
  delete table.Slot(5).object.data();
  EXPECT_EQ(Run(u"X = B.LEFT\nPRINT X"), "0");
  Run(u"CREATE LABEL");
  EXPECT_EQ(table.Slot(5).type, TypeLabel);
  EXPECT_TRUE(table.Slot(5).Usable());
}

TEST_F(ComponentTable, TheSweepFreesEveryLevelOfChildren) {
  // Slot 6 holds 7, which holds 5: the grandchild's slot lies below its
  // parent's, so one pass in slot order would miss it.
  Run(u"CREATE PANEL\nCREATE PANEL\nCREATE PANEL\nCREATE BUTTON");
  table.Slot(7).parentSlot = 6;
  table.Slot(5).parentSlot = 7;
  auto* panel6 = static_cast<QWidget*>(table.Slot(6).object.data());
  static_cast<QWidget*>(table.Slot(7).object.data())->setParent(panel6);
  static_cast<QWidget*>(table.Slot(5).object.data())
      ->setParent(static_cast<QWidget*>(table.Slot(7).object.data()));
  QPointer<QObject> grandchild = table.Slot(5).object;
  I().requestSlots[4].SetItem(vellvar(0));
  EXPECT_EQ(table.SetMember(I(), 6, MemberDelete, I().requestSlots[4]), 1);
  EXPECT_EQ(table.Slot(5).inUse, 0u);
  EXPECT_EQ(table.Slot(6).inUse, 0u);
  EXPECT_EQ(table.Slot(7).inUse, 0u);
  EXPECT_TRUE(table.Slot(8).Usable());  // not on the deleted panel
  table.CarryOutPendingDeletions();
  EXPECT_FALSE(grandchild);
}

TEST_F(ComponentTable, ReleasingAllComponentsKeepsThePredefinedOnes) {
  Run(u"CREATE FORM\nCREATE BUTTON\nCREATE TIMER");
  EXPECT_EQ(UsedProgramSlots(), 3);
  table.DestroyAllComponents();
  table.CarryOutPendingDeletions();
  EXPECT_EQ(UsedProgramSlots(), 0);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(table.Slot(i).Usable());
  EXPECT_TRUE(window.panel->findChildren<QPushButton*>().isEmpty());
}

TEST_F(ComponentTable, AnEventRunsItsSubAndMayDeleteItsOwnComponent) {
  Run(u"GLOBAL B, N\nN = 0\nB = CREATE BUTTON\n"
      u"SUB CLICKED() { N = N + 1\nDELETE B }");
  auto* button = static_cast<TVellButton*>(table.Slot(5).object.data());
  table.Slot(5).onClick = u"CLICKED";
  QObject::connect(button, &TVellButton::clicked, [this, button] {
    vell::RunComponentEvent(table, button, vell::ComponentEvent::Click);
  });
  QPointer<TVellButton> alive(button);
  button->InnerButton()->click();
  EXPECT_EQ(GlobalInt(u"N"), 1);
  EXPECT_EQ(table.Slot(5).inUse, 0u);
  // Gone once nothing of it runs any more; a second click reaches nothing.
  table.CarryOutPendingDeletions();
  EXPECT_FALSE(alive);
  EXPECT_EQ(vell::EventText(vellvar(u"PAINT"), {10, -20, 1}), u"PAINT(10,-20,1)");
  EXPECT_EQ(vell::EventText(vellvar(u"TICK"), {}), u"TICK");
}

TEST_F(ComponentTable, EventsAreDroppedWhileARunStateIsSet) {
  Run(u"GLOBAL N\nN = 0\nSUB TICK() { N = N + 1 }\nCREATE TIMER");
  QObject* timer = table.Slot(5).object.data();
  table.Slot(5).onTimer = u"TICK";
  vell::RunComponentEvent(table, timer, vell::ComponentEvent::Timer);
  SetRunState(I(), StateEnd);
  vell::RunComponentEvent(table, timer, vell::ComponentEvent::Timer);
  SetRunState(I(), StateRunning);
  QObject stranger;
  vell::RunComponentEvent(table, &stranger, vell::ComponentEvent::Timer);
  EXPECT_EQ(GlobalInt(u"N"), 1);
}

// A TIMER of the test's own, to see what the table does around a type: its
// create can fail, its INTERVAL is kept here, and its ENABLED runs an event
// text (which makes requests of its own) before it reads its arguments.
struct TestTimer {
  static inline int createMode = 0;  // 0 makes an object, 1 none, 2 throws
  static inline int interval = 0;
  static inline int argsSeen[3] = {};

  static QObject* Create(mwin&, QWidget*) {
    if (createMode == 1) return nullptr;
    if (createMode == 2) throw std::bad_alloc();
    return new QObject();
  }
  static inline bool refuseInterval = false;  // INTERVAL fails as a refused member
  static int SetInterval(vell::MemberCall& call) {
    if (refuseInterval) vell::ReportMemberFailure(call, QStringLiteral("no interval set"));
    interval = call.IntArg();
    return 1;
  }
  static bool GetInterval(vell::MemberCall& call) {
    if (refuseInterval) vell::ReportMemberFailure(call, QStringLiteral("no interval read"));
    call.result = interval;
    return true;
  }
  static int SetEnabled(vell::MemberCall& call) {
    call.table.Host().RunEventText(u"Y = OTHER.INTERVAL");
    for (int i = 0; i < 3; ++i) argsSeen[i] = call.IntArg(i);
    return 7;
  }
  static constexpr vell::MemberBinding kMembers[] = {
      {MemberInterval, SetInterval, GetInterval},
      {MemberEnabled, SetEnabled, nullptr},
  };
  static const vell::ComponentType& Types(int32_t code) {
    static const vell::ComponentType timer{
        TypeTimer, Create, vell::DeleteRule::Plain, nullptr, {kMembers}};
    return code == TypeTimer ? timer : vell::ComponentTypeOf(code);
  }
};

class ComponentTableOfTestTypes : public ComponentTable {
 protected:
  ComponentTableOfTestTypes() : ComponentTable(TestTimer::Types) {
    TestTimer::createMode = 0;
    TestTimer::interval = 0;
    TestTimer::refuseInterval = false;
  }
};

TEST_F(ComponentTableOfTestTypes, ACreateThatMakesNoObjectGivesItsSlotBack) {
  Run(u"GLOBAL T");
  TestTimer::createMode = 1;
  EXPECT_NE(Run(u"T = CREATE TIMER").find("area overflow"), std::string::npos);
  TestTimer::createMode = 2;
  EXPECT_NE(Run(u"T = CREATE TIMER").find("cannot allocate memory"), std::string::npos);
  EXPECT_EQ(UsedProgramSlots(), 0);
  TestTimer::createMode = 0;
  EXPECT_EQ(Run(u"T = CREATE TIMER\nPRINT T"), "5");
}

TEST_F(ComponentTableOfTestTypes, MembersGoToTheTypeOfTheSlotAsItIsNow) {
  EXPECT_EQ(Run(u"GLOBAL T, A, X\nT = CREATE TIMER\nSET A = T\nT.INTERVAL = 250\n"
                u"X = A.INTERVAL\nPRINT X"),
            "250");
  // The slot now holds a BUTTON, which has no INTERVAL.
  Run(u"DELETE T\nCREATE BUTTON");
  EXPECT_NE(Run(u"A.INTERVAL = 3").find("undefined error"), std::string::npos);
  EXPECT_EQ(TestTimer::interval, 250);
}

TEST_F(ComponentTableOfTestTypes, AMemberKeepsItsArgumentsWhenAnEventTextRunsInside) {
  Run(u"GLOBAL T, OTHER, Y, R\nT = CREATE TIMER\nOTHER = CREATE TIMER\nOTHER.INTERVAL = 99");
  // ENABLED is sent with 42 and two zeros; the event text's read of OTHER
  // puts 99 into the request slots meanwhile.
  EXPECT_EQ(Run(u"T.ENABLED = 42\nR = GETCMD(1)\nPRINT Y, \" \", R"), "99 7");
  EXPECT_EQ(TestTimer::argsSeen[0], 42);
  EXPECT_EQ(TestTimer::argsSeen[1], 0);
  EXPECT_EQ(TestTimer::argsSeen[2], 0);
}

TEST_F(ComponentTableOfTestTypes, AFailingMemberShowsWhyAndAnswersTheOperationNumber) {
  const test::KeptWarnings seen;
  Run(u"GLOBAL T, X, Y\nT = CREATE TIMER\nT.INTERVAL = 250");
  TestTimer::refuseInterval = true;
  // A set or call keeps 6, a read 7 (its value node unwritten); the program
  // goes on after each.
  EXPECT_EQ(Run(u"X = T.INTERVAL = 9\nY = T.INTERVAL\nPRINT X, \" \", Y"), "6 7");
  EXPECT_EQ(seen.texts, (std::vector<QString>{QStringLiteral("no interval set"),
                                              QStringLiteral("no interval read")}));
  EXPECT_EQ(TestTimer::interval, 250);
  TestTimer::refuseInterval = false;
  EXPECT_EQ(Run(u"X = T.INTERVAL = 9\nY = T.INTERVAL\nPRINT X, \" \", Y"), "1 9");
}

}  // namespace
