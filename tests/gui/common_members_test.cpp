// The members every control shares and the events that run a program's
// SUBs, driven offscreen with QTest through a component table whose window
// is a stand-in: read-back after a set, PARENT and its refusals, aligned
// controls after a resize of their parent, clicks, mouse and keys, forms
// closed by the user, and the guards of the event path.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <string>

#include "components/keywords/component_keywords.h"
#include "components/widgets/common_members.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"
#include "components/widgets/geometry_bounds.h"
#include "library/library_builtins.h"
#include "platform/qt/qt_virtual_keys.h"
#include "platform/virtual_keys.h"
#include "tests/support/component_window.h"

using namespace vell;

namespace {

using vell::mwin;
using vell::test::TestInterpreter;
using vell::test::Utf8;

class CommonMembers : public ::testing::Test {
 protected:
  CommonMembers() : window(640, 480, 400), table(window) {
    t.host.onComponent = [this](Interpreter& interp) {
      if (beforeRequest) beforeRequest();
      table.HandleHostRequest(interp);
    };
    test::PrepareComponentTable(table, I());
    window.main.show();
  }
  ~CommonMembers() override {
    test::ReleaseComponentTable(table);
  }
  Interpreter& I() { return t.interp(); }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  int Global(std::u16string_view name) {
    if (const vellarray* global = test::FindGlobal(I(), name)) return global->item.ToInt();
    ADD_FAILURE() << "no global " << Utf8(name);
    return -1;
  }
  QWidget* W(int slot) { return static_cast<QWidget*>(table.Slot(slot).object.data()); }
  // A member request made as the window makes it.
  int Set(int slot, int member, const vellvar& value) {
    I().requestSlots[4].SetItem(value);
    return table.SetMember(I(), slot, member, I().requestSlots[4]);
  }
  int Get(int slot, int member) {
    I().requestSlots[4].SetItem(vellvar(12345));
    table.GetMember(I(), slot, member, I().requestSlots[4]);
    return I().requestSlots[4].item.ToInt();
  }

  TestInterpreter t;
  test::StandInWindow window;
  mwin table;
  std::function<void()> beforeRequest;
};

TEST_F(CommonMembers, EveryMemberReadsBackWhatWasSet) {
  EXPECT_EQ(Run(u"GLOBAL P\nP = CREATE PANEL\n"
                u"P.LEFT = 12\nP.TOP = -3\nP.WIDTH = 150\nP.HEIGHT = 70\n"
                u"P.ENABLED = -1\nP.COLOR = 1193046\nP.FONTCOLOR = 255\n"
                u"P.FONTNAME = \"ＭＳ ゴシック\"\nP.FONTSIZE = 14\nP.CURSOR = 65535\nP.ALIGN = 0\n"
                u"P.FONTBOLD = 1\nP.FONTBOLD = 1\nP.FONTITALIC = 1\nP.FONTUNDERLINE = 1\n"
                u"P.FONTSTRIKEOUT = 7\n"
                u"PRINT P.LEFT, \",\", P.TOP, \",\", P.WIDTH, \",\", P.HEIGHT, \",\", P.ENABLED\n"
                u"PRINT \",\", P.COLOR, \",\", P.FONTCOLOR, \",\", P.FONTNAME, \",\", P.FONTSIZE\n"
                u"PRINT \",\", P.CURSOR, \",\", P.FONTBOLD, P.FONTITALIC, P.FONTUNDERLINE, "
                u"P.FONTSTRIKEOUT, \",\", P.VISIBLE"),
            "12,-3,150,70,1,1193046,255,ＭＳ ゴシック,14,-1,1110,1");
  QWidget* p = W(5);
  EXPECT_EQ(p->geometry(), QRect(12, -3, 150, 70));
  EXPECT_EQ(p->palette().color(p->backgroundRole()), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(p->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(p->cursor().shape(), Qt::BlankCursor);
  EXPECT_TRUE(p->font().bold());
  EXPECT_FALSE(p->font().strikeOut());
  // Removing one style keeps the others; ENABLED and VISIBLE are the
  // control's own flags, not whether its parent shows it.
  window.panel->setEnabled(false);
  window.panel->hide();
  EXPECT_EQ(
      Run(u"P.FONTBOLD = 2\nP.ENABLED = 2\nPRINT P.FONTBOLD, P.FONTITALIC, P.ENABLED, P.VISIBLE"),
      "0111");
  EXPECT_FALSE(p->isVisible());
  window.panel->setEnabled(true);
  window.panel->show();
  EXPECT_EQ(Run(u"P.VISIBLE = 0\nP.ENABLED = 0\nPRINT P.VISIBLE, P.ENABLED"), "00");
  EXPECT_TRUE(p->isHidden());
  // Reading PARENT is not possible.
  EXPECT_NE(Run(u"PRINT P.PARENT").find("undefined error"), std::string::npos);
}

TEST_F(CommonMembers, CaptionsAndTitlesShowTheProgramsTextAsItIs) {
  Run(u"GLOBAL L, F, B\nL = CREATE LABEL\nL.CAPTION = \"<b>x</b>\"\nF = CREATE FORM\n"
      u"F.CAPTION = \"Save [*] now\"\nF.SHOW\nB = CREATE BUTTON\nB.CAPTION = \"<i>y</i>\"");
  auto* label = qobject_cast<QLabel*>(W(5));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  QWidget* form = W(6);
  ASSERT_NE(form->windowHandle(), nullptr);
  EXPECT_EQ(form->windowHandle()->title(), QStringLiteral("Save [*] now"));
  const auto* button = W(7)->findChild<QPushButton*>();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("<i>y</i>"));
}

TEST_F(CommonMembers, SystemColoursCursorsAndAlignmentKeepTheirRawValues) {
  Run(u"CREATE PANEL");
  // The button face of the running style, read back negative.
  EXPECT_EQ(Set(5, MemberColor, vellvar(static_cast<int32_t>(0xFF00000Fu))), 1);
  EXPECT_EQ(Get(5, MemberColor), -16777201);
  EXPECT_EQ(W(5)->palette().color(W(5)->backgroundRole()),
            QApplication::palette().color(QPalette::Active, QPalette::Button));
  // A system colour outside the table is kept but changes nothing.
  const QColor before = W(5)->palette().color(W(5)->backgroundRole());
  Set(5, MemberColor, vellvar(static_cast<int32_t>(0xFF000063u)));
  EXPECT_EQ(Get(5, MemberColor), static_cast<int32_t>(0xFF000063u));
  EXPECT_EQ(W(5)->palette().color(W(5)->backgroundRole()), before);
  // Cursor codes: the low 16 bits, signed; unknown codes fall back to the default.
  Set(5, MemberCursor, vellvar(-21));
  EXPECT_EQ(W(5)->cursor().shape(), Qt::PointingHandCursor);
  Set(5, MemberCursor, vellvar(-500));
  EXPECT_EQ(Get(5, MemberCursor), -500);
  EXPECT_FALSE(W(5)->testAttribute(Qt::WA_SetCursor));
  // ALIGN takes the low 8 bits and keeps ordinals that place nothing.
  Set(5, MemberAlign, vellvar(261));
  EXPECT_EQ(Get(5, MemberAlign), 5);
  EXPECT_EQ(W(5)->geometry(), window.panel->contentsRect());
  Set(5, MemberAlign, vellvar(9));
  EXPECT_EQ(Get(5, MemberAlign), 9);
  EXPECT_EQ(Set(5, MemberZOrder, vellvar(2)), 1);
}

// A text or list box's colour read before a program changed it, set back,
// shows the box as it was at first (window_programs/default_colours reads
// every type's).
TEST_F(CommonMembers, AColourReadAndSetBackShowsAsAtFirst) {
  Run(u"CREATE TEXTBOX\nCREATE LISTBOX");
  const QColor base = QApplication::palette().color(QPalette::Active, QPalette::Base);
  for (const int slot : {5, 6}) {
    auto* box = qobject_cast<QAbstractScrollArea*>(W(slot));
    ASSERT_NE(box, nullptr);
    const int old = Get(slot, MemberColor);
    Set(slot, MemberColor, vellvar(255));
    EXPECT_EQ(box->viewport()->palette().color(QPalette::Base), QColor(255, 0, 0));
    Set(slot, MemberColor, vellvar(old));
    EXPECT_EQ(Get(slot, MemberColor), old);
    EXPECT_EQ(box->viewport()->palette().color(QPalette::Base), base) << slot;
  }
}

TEST_F(CommonMembers, ParentMovesControlsAndRefusesWhatWouldBreak) {
  Run(u"CREATE PANEL\nCREATE PANEL\nCREATE BUTTON\nCREATE LABEL\nCREATE TIMER");
  // 5 panel, 6 panel, 7 button, 8 label, 9 timer; 10 is free.
  EXPECT_EQ(Set(6, MemberParent, vellvar(5)), 1);
  EXPECT_EQ(Set(7, MemberParent, vellvar(6)), 1);
  EXPECT_EQ(W(7)->parentWidget(), W(6));
  EXPECT_FALSE(W(7)->isHidden());  // Qt hides on a change of parent
  EXPECT_EQ(table.Slot(7).parentSlot, 6);
  const int runState = I().runState;
  struct Refusal {
    int slot;
    int parent;
  };
  // Outside the table, free, no windowed control, itself, inside itself.
  for (const Refusal r :
       {Refusal{7, 200}, Refusal{7, -1}, Refusal{7, 10}, Refusal{7, 8}, Refusal{7, 9},
        Refusal{7, 7}, Refusal{5, 6}, Refusal{5, 7}, Refusal{0, 5}}) {
    QWidget* before = W(r.slot)->parentWidget();
    const int slotBefore = table.Slot(r.slot).parentSlot;
    EXPECT_EQ(Set(r.slot, MemberParent, vellvar(r.parent)), 0) << r.slot << " into " << r.parent;
    EXPECT_EQ(W(r.slot)->parentWidget(), before);
    EXPECT_EQ(table.Slot(r.slot).parentSlot, slotBefore);
  }
  EXPECT_EQ(I().runState, runState);  // no error came of it
  // PARENT 0 puts it back into the output panel; a hidden control stays hidden.
  W(7)->hide();
  EXPECT_EQ(Set(7, MemberParent, vellvar(0)), 1);
  EXPECT_EQ(W(7)->parentWidget(), window.panel);
  EXPECT_TRUE(W(7)->isHidden());
  EXPECT_EQ(table.Slot(7).parentSlot, 0);
  // A form holds controls; deleting it frees them.
  Run(u"GLOBAL F\nF = CREATE FORM");
  EXPECT_EQ(Set(8, MemberParent, vellvar(10)), 1);
  EXPECT_EQ(W(8)->window(), W(10));
  Run(u"DELETE F");
  EXPECT_EQ(table.Slot(8).inUse, 0u);
}

// Positions and sizes beyond what a window system shows are taken, bounded
// on their way to Qt, and read back as the control has them.
TEST_F(CommonMembers, ExtremePositionsAndSizesAreBounded) {
  const std::string bounded = std::to_string(kMaxControlSide);
  // The tall combo box: bounded before anything is painted.
  EXPECT_EQ(Run(u"GLOBAL C\nC = CREATE COMBOBOX\nC.WIDTH = 300\nC.HEIGHT = 16777215\n"
                u"PRINT C.WIDTH, \",\", C.HEIGHT"),
            "300," + bounded);
  EXPECT_EQ(Run(u"C.ALIGN = 1\nC.HEIGHT = 2147483647\nPRINT C.HEIGHT"), bounded);
  EXPECT_EQ(Run(u"C.ALIGN = 0\nC.LEFT = -2147483648\nC.TOP = 2147483647\nC.WIDTH = -1\n"
                u"PRINT C.LEFT, \",\", C.TOP, \",\", C.WIDTH"),
            std::to_string(kMinCoordinate) + "," + std::to_string(kMaxCoordinate) + ",0");
  // A top-aligned control at the last coordinate goes back to the top.
  EXPECT_EQ(Run(u"GLOBAL B\nB = CREATE LABEL\nB.ALIGN = 1\nB.TOP = 2147483647\n"
                u"PRINT B.TOP, \",\", B.LEFT"),
            "0,0");
  EXPECT_EQ(Run(u"B.ALIGN = 0\nB.TOP = 2147483647\nPRINT B.TOP"), std::to_string(kMaxCoordinate));
  EXPECT_GE(W(6)->geometry().bottom(), W(6)->geometry().top());
  // A form's client area too.
  const int clientWidth =
      std::stoi(Run(u"GLOBAL F\nF = CREATE FORM\nF.CLIENTWIDTH = 2147483647\n"
                    u"F.CLIENTHEIGHT = -2147483647\nPRINT F.CLIENTWIDTH"));
  EXPECT_GT(clientWidth, 0);
  EXPECT_LE(clientWidth, kMaxControlSide);
  EXPECT_EQ(Run(u"F.FONTSIZE = 2147483647\nPRINT F.CLIENTHEIGHT, \",\", F.FONTSIZE"),
            "0," + std::to_string(kMaxFontPoints));
}

TEST_F(CommonMembers, AlignedControlsFollowTheirParentsSize) {
  Run(u"GLOBAL P, T, B, L, R, C\nP = CREATE PANEL\nP.WIDTH = 200\nP.HEIGHT = 100\n"
      u"T = CREATE PANEL\nB = CREATE PANEL\nL = CREATE PANEL\nR = CREATE PANEL\nC = CREATE PANEL\n"
      u"T.PARENT = P\nB.PARENT = P\nL.PARENT = P\nR.PARENT = P\nC.PARENT = P\n"
      u"T.HEIGHT = 20\nB.HEIGHT = 10\nL.WIDTH = 30\nR.WIDTH = 40\n"
      u"C.ALIGN = 5\nR.ALIGN = 4\nL.ALIGN = 3\nB.ALIGN = 2\nT.ALIGN = 1");
  // Each frame has no border of its own here: the room is the whole panel.
  static_cast<QFrame*>(W(5))->setFrameShape(QFrame::NoFrame);
  EXPECT_EQ(Run(u"P.WIDTH = 300\nP.HEIGHT = 200\nPRINT C.LEFT, \",\", C.TOP, \",\", C.WIDTH, "
                u"\",\", C.HEIGHT"),
            "30,20,230,170");
  EXPECT_EQ(W(6)->geometry(), QRect(0, 0, 300, 20));
  EXPECT_EQ(W(7)->geometry(), QRect(0, 190, 300, 10));
  EXPECT_EQ(W(8)->geometry(), QRect(0, 20, 30, 170));
  EXPECT_EQ(W(9)->geometry(), QRect(260, 20, 40, 170));
  // A hidden aligned control gives its room to the others.
  Run(u"T.VISIBLE = 0");
  EXPECT_EQ(W(10)->geometry(), QRect(30, 0, 230, 190));
  // A form not shown yet gets no resize events; its controls follow all the same.
  EXPECT_EQ(Run(u"GLOBAL F\nF = CREATE FORM\nC.PARENT = F\nF.CLIENTWIDTH = 120\n"
                u"F.CLIENTHEIGHT = 90\nPRINT F.VISIBLE, \",\", C.WIDTH, \",\", C.HEIGHT"),
            "0,120,90");
}

TEST_F(CommonMembers, ClicksMouseAndKeysRunTheirSubsWithTheirArguments) {
  EXPECT_EQ(
      Run(u"GLOBAL P, S, X, Y, N, K, F\nN = 0\nK = 0\n"
          u"SUB CLICKED() { N = N + 1 }\n"
          u"SUB DOWN(A, B, C) { X = A * 1000 + B\nY = C }\n"
          u"SUB MOVED(A, B) { X = A * 1000 + B }\n"
          u"SUB KEY(C) { K = K * 1000 + C }\nSUB FORMKEY(C) { K = K * 1000 + 500 + C }\n"
          u"P = CREATE PANEL\nP.ONCLICK = \"CLICKED\"\nS = CREATE TEXTBOX\nS.ONKEY = \"KEY\"\n"
          u"CREATE IMAGE"),
      "");
  QWidget* panel = W(5);
  QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(Global(u"N"), 1);
  // Mouse down and mouse move, tracking on only once a move is bound.
  QWidget* image = W(7);
  EXPECT_FALSE(image->hasMouseTracking());
  Set(7, MemberOnMouseDown, vellvar(u"DOWN"));
  QTest::mousePress(image, Qt::RightButton, {}, QPoint(10, 20));
  EXPECT_EQ(Global(u"X"), 10020);
  EXPECT_EQ(Global(u"Y"), 1);
  QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(10, 20));
  Set(7, MemberOnMouseMove, vellvar(u"MOVED"));
  EXPECT_TRUE(image->hasMouseTracking());
  QMouseEvent move(QEvent::MouseMove, QPointF(-3, 7), image->mapToGlobal(QPointF(-3, 7)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(image, &move);
  EXPECT_EQ(Global(u"X"), -3000 + 7);
  // Key up on the text box; an auto-repeated release runs nothing.
  QTest::keyRelease(W(6), Qt::Key_A);
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"), true);
  QApplication::sendEvent(W(6), &repeated);
  // A form sees the keys of its controls first.
  Run(u"F = CREATE FORM\nF.ONKEY = \"FORMKEY\"\nS.PARENT = F\nF.SHOW");
  QTest::keyRelease(W(6), Qt::Key_F5);
  // A, then F5 seen by the form (500 + 116) and then by the text box.
  EXPECT_EQ(Global(u"K"), 65616116);
}

TEST_F(CommonMembers, AReusedSlotRunsNoneOfItsPredecessorsSubs) {
  Run(u"GLOBAL A, N, F\nN = 0\nSUB CLICKED() { N = N + 1 }\nSUB KEEP() { RETURN(1) }\n"
      u"A = CREATE PANEL\nA.ONCLICK = \"CLICKED\"\nDELETE A\nA = CREATE PANEL");
  ASSERT_EQ(Global(u"A"), 5);
  QTest::mouseClick(W(5), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(Global(u"N"), 0);
  // The old object's hook does not reach the new occupant either.
  Run(u"DELETE A\nF = CREATE FORM\nF.ONCLOSE = \"KEEP\"\nDELETE F\nF = CREATE FORM");
  ASSERT_EQ(Global(u"F"), 5);
  QPointer<QWidget> form = W(5);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(table.Slot(5).inUse, 0u);
}

TEST_F(CommonMembers, AFormClosedByTheUserStaysOpenOrGoesWithItsControls) {
  Run(u"GLOBAL F, B, ANSWER\nANSWER = 1\nSUB ASK() { RETURN(ANSWER) }\n"
      u"F = CREATE FORM\nF.ONCLOSE = \"ASK\"\nB = CREATE BUTTON\nB.PARENT = F\nF.SHOW\n"
      u"MainForm.VISIBLE = 0");
  QPointer<QWidget> form = W(5);
  QPointer<QWidget> button = W(6);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(window.main.isVisible());
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(table.Slot(5).Usable());
  Run(u"ANSWER = 0");
  EXPECT_TRUE(form->close());
  EXPECT_EQ(table.Slot(5).inUse, 0u);
  EXPECT_EQ(table.Slot(6).inUse, 0u);
  EXPECT_TRUE(window.main.isVisible());  // no program form is visible any more
  table.CarryOutPendingDeletions();
  EXPECT_FALSE(form);
  EXPECT_FALSE(button);
  // A form deleted by its own close SUB goes once.
  Run(u"SUB GONE() { DELETE F\nRETURN(1) }\nF = CREATE FORM\nF.ONCLOSE = \"GONE\"\nF.SHOW");
  form = W(5);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(table.Slot(5).inUse, 0u);
  table.CarryOutPendingDeletions();
  EXPECT_FALSE(form);
  // The main window keeps its own close handling: ONCLOSE is only stored.
  Run(u"MainForm.ONCLOSE = \"ASK\"");
  EXPECT_EQ(Utf8(std::u16string(vellvar(table.Slot(0).onClose).WideText())), "ASK");
}

TEST_F(CommonMembers, EventsStopAfterAFailedSubUntilTheNextRun) {
  Run(u"GLOBAL P, N\nN = 0\nSUB CLICKED() { N = N + 1\nNOSUCHTHING(1) }\n"
      u"P = CREATE PANEL\nP.ONCLICK = \"CLICKED\"");
  QTest::mouseClick(W(5), Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseClick(W(5), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(Global(u"N"), 1);
  Run(u"N = N");
  QTest::mouseClick(W(5), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(Global(u"N"), 2);
}

TEST_F(CommonMembers, AComponentDeletedInItsOwnClickFinishesTheClick) {
  Run(u"GLOBAL P, N\nN = 0\nSUB CLICKED() { DELETE P\nN = N + 1 }\n"
      u"P = CREATE PANEL\nP.ONCLICK = \"CLICKED\"");
  QPointer<QWidget> panel = W(5);
  QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(Global(u"N"), 1);
  EXPECT_EQ(table.Slot(5).inUse, 0u);
  table.CarryOutPendingDeletions();
  EXPECT_FALSE(panel);
}

TEST_F(CommonMembers, EventsNestOnlySoDeep) {
  Run(u"GLOBAL P, N\nN = 0\nSUB CLICKED() { N = N + 1\nP.LEFT = N }\n"
      u"P = CREATE PANEL\nP.ONCLICK = \"CLICKED\"");
  // Every request of the SUB lets another click in, as a slow SUB's messages would.
  QObject* panel = W(5);
  beforeRequest = [this, panel] {
    vell::RunComponentEvent(table, panel, vell::ComponentEvent::Click);
  };
  vell::RunComponentEvent(table, panel, vell::ComponentEvent::Click);
  beforeRequest = nullptr;
  EXPECT_EQ(Global(u"N"), vell::kMaxEventDepth);
  EXPECT_EQ(vell::EventDepth(), 0);
}

TEST_F(CommonMembers, ReleasingAllComponentsStopsTimersFirst) {
  Run(u"GLOBAL T, N, B\nN = 0\nSUB TICK() { N = N + 1 }\nT = CREATE TIMER\nT.ONTIMER = \"TICK\"\n"
      u"CREATE BUTTON\nCREATE BUTTON");
  auto* timer = static_cast<QTimer*>(table.Slot(5).object.data());
  timer->start(0);
  QTest::qWait(20);
  int ticks = Global(u"N");
  EXPECT_GT(ticks, 0);
  // A click waiting in the queue is dropped too.
  Run(u"B = CREATE BUTTON\nB.ONCLICK = \"TICK\"");
  timer->stop();
  ticks = Global(u"N");
  auto* button = W(Global(u"B"));
  const QPointF at = button->rect().center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QCoreApplication::postEvent(button, new QMouseEvent(type, at, button->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, {}));
  }
  timer->start(0);
  table.DestroyAllComponents();
  EXPECT_EQ(Global(u"N"), ticks);
}

TEST(VirtualKeys, QtKeysBecomeWindowsKeyCodes) {
  using vell::qt::VirtualKeyOf;
  EXPECT_EQ(VirtualKeyOf(Qt::Key_A, Qt::NoModifier), 'A');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7, Qt::NoModifier), '7');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7, Qt::KeypadModifier), vell::vk::Numpad0 + 7);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Asterisk, Qt::KeypadModifier), vell::vk::Multiply);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Asterisk, Qt::ShiftModifier), '8');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F12, Qt::NoModifier), vell::vk::F1 + 11);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter, Qt::KeypadModifier), vell::vk::Return);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Question, Qt::ShiftModifier), vell::vk::Slash);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown, Qt::NoModifier), 0);
}

}  // namespace

namespace {

TEST_F(CommonMembers, FormsAndTheMainWindowShareTheFormMembers) {
  EXPECT_EQ(
      Run(u"GLOBAL F\nF = CREATE FORM\nPRINT F.CAPTION, \",\", F.VISIBLE, \",\", F.BORDERSTYLE\n"
          u"F.CLIENTWIDTH = 250\nF.CLIENTHEIGHT = 120\nF.WINDOWSTATE = 2\nF.BORDERSTYLE = 259\n"
          u"PRINT \",\", F.CLIENTWIDTH, \",\", F.CLIENTHEIGHT, \",\", F.WINDOWSTATE, \",\", "
          u"F.BORDERSTYLE"),
      "Form,0,2,250,120,2,3");
  EXPECT_TRUE(W(5)->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(W(5)->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
  // Component 0 is the main window itself.
  Run(u"MainForm.CAPTION = \"Main\"\nMainForm.LEFT = 30");
  EXPECT_EQ(window.main.windowTitle(), QStringLiteral("Main"));
  EXPECT_EQ(window.main.x(), 30);
  // It cannot stay hidden while no program form is visible.
  EXPECT_EQ(Run(u"MainForm.VISIBLE = 0\nPRINT MainForm.VISIBLE"), "1");
  EXPECT_TRUE(window.main.isVisible());
  EXPECT_EQ(Run(u"F.SHOW\nMainForm.VISIBLE = 0\nPRINT MainForm.VISIBLE, F.VISIBLE\nF.VISIBLE = 0"),
            "01");
  EXPECT_TRUE(window.main.isVisible());
}

}  // namespace

namespace {

TEST_F(CommonMembers, ButtonsAndScrollBarsRunTheirClickSubs) {
  Run(u"GLOBAL B, S, N\nN = 0\nSUB CLICKED() { N = N + 1 }\nSUB MOVED() { N = N + 100 }\n"
      u"B = CREATE BUTTON\nB.ONCLICK = \"CLICKED\"\nS = CREATE SCROLLBAR\nS.ONCLICK = \"MOVED\"");
  // What lies under the pointer takes the click (a button may be made of more
  // than one widget).
  QWidget* button = W(5);
  QWidget* face = button->childAt(button->rect().center());
  if (face == nullptr) face = button;
  QTest::mouseClick(face, Qt::LeftButton, {}, face->rect().center());
  EXPECT_EQ(Global(u"N"), 1);
  // A scroll bar's click is each change of its position.
  auto* bar = qobject_cast<QScrollBar*>(W(6));
  ASSERT_NE(bar, nullptr);
  bar->setValue(bar->value() + 1);
  EXPECT_EQ(Global(u"N"), 101);
  // A group box (not checkable) is clicked with the mouse.
  Run(u"GLOBAL G\nG = CREATE GROUPBOX\nG.ONCLICK = \"CLICKED\"");
  QTest::mouseClick(W(Global(u"G")), Qt::LeftButton, {}, W(Global(u"G"))->rect().center());
  EXPECT_EQ(Global(u"N"), 102);
}

}  // namespace

namespace {

// Two radio buttons stay checked in one group box when one was moved in; the
// user's click on a third turns both off, as the program's CHECKED does
// (window_programs/radio_groups).
TEST_F(CommonMembers, AClickedRadioButtonUnchecksEveryOtherOfItsParent) {
  Run(u"GLOBAL G1, G2, R1, R2, R3\nG1 = CREATE GROUPBOX\nG2 = CREATE GROUPBOX\n"
      u"R1 = CREATE RADIOBUTTON\nR2 = CREATE RADIOBUTTON\nR3 = CREATE RADIOBUTTON\n"
      u"R1.PARENT = G1\nR2.PARENT = G2\nR3.PARENT = G1\nR1.CHECKED = 1\nR2.CHECKED = 1\n"
      u"R2.PARENT = G1");
  EXPECT_EQ(Run(u"PRINT R1.CHECKED, R2.CHECKED, R3.CHECKED"), "110");
  QWidget* third = W(Global(u"R3"));
  QTest::mouseClick(third, Qt::LeftButton, {}, QPoint(6, third->height() / 2));
  EXPECT_EQ(Run(u"PRINT R1.CHECKED, R2.CHECKED, R3.CHECKED"), "001");
}

}  // namespace
