// The component keywords and member requests as the interpreter sends them,
// answered by a recording host that stands in for the component table.
#include "components/keywords/component_keywords.h"

#include <gtest/gtest.h>

#include <string>

#include "components/keywords/component_node.h"
#include "library/library_builtins.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::RecordedRequest;
using vell::test::TestInterpreter;
using vell::test::Utf8;

TEST(ComponentNode, EveryTypeBuildsItsMembersOnceEach) {
  ExecContext ctx;
  for (const char16_t* name :
       {u"FORM", u"BUTTON", u"LABEL", u"TEXTBOX", u"CHECKBOX", u"RADIOBUTTON", u"LISTBOX",
        u"COMBOBOX", u"SCROLLBAR", u"GROUPBOX", u"IMAGE", u"PANEL", u"TIMER", u"MEDIAPLAYER",
        u"OPENDIALOG", u"SAVEDIALOG", u"PRINTERDIALOG"}) {
    SCOPED_TRACE(Utf8(name));
    const int code = vell::BuildComponentNode(ctx, name);
    ASSERT_NE(code, 0);
    EXPECT_EQ(ctx.Node().kind, code);
    EXPECT_EQ(ctx.Node().item.ToInt(), 0);
    ASSERT_GT(ctx.Node().ChildCount(), 0);
    // Every child is a member whose key is its keyword, with no name twice.
    std::u16string seen;
    for (int32_t i = 0; i < ctx.Node().ChildCount(); ++i) {
      const vellarray* c = ctx.Node().Child(i);
      vellvar key(c->Key());
      const std::u16string word(key.WideText());
      EXPECT_EQ(word, vell::MemberKeyword(c->kind));
      EXPECT_EQ(seen.find(u" " + word + u" "), std::u16string::npos) << Utf8(word);
      seen += u" " + word + u" ";
    }
  }
}

TEST(ComponentNode, UnknownOrMixedCaseNamesBuildNothing) {
  ExecContext ctx;
  vell::BuildComponentNode(ctx, u"TIMER");
  ctx.Node().item = 7;
  for (const char16_t* name : {u"Button", u"NOSUCHTYPE", u""}) {
    EXPECT_EQ(vell::BuildComponentNode(ctx, name), 0);
    EXPECT_EQ(ctx.Node().ChildCount(), 0);
    EXPECT_EQ(ctx.Node().kind, 23);  // kind and item stay
    EXPECT_EQ(ctx.Node().item.ToInt(), 7);
  }
}

// A stand-in for the component table: creates hand out 5, 6, ...; a delete
// answers 1; a read answers the text "read"; sets and calls answer 1.
class ComponentKeywords : public ::testing::Test {
 protected:
  ComponentKeywords() {
    vell::RegisterLibraryBuiltins(t.interp());
    vell::RegisterComponentKeywords(t.interp());
    t.host.onComponent = [this](Interpreter& interp) {
      vellarray* s = interp.requestSlots;
      const int member = s[3].ItemInt();
      if (refuseDelete && member == MemberDelete) interp.runState = ErrorUndefined;
      if (s[1].ItemInt() == ComponentGet) {
        s[4].SetItem(vellvar(u"read"));
        s[1].SetItem(s[4].item);
      } else if (member == MemberCreate) {
        s[1].SetItem(vellvar(s[4].ItemInt() == 0 ? 0 : nextSlot++));
      } else {
        s[1].SetItem(vellvar(1));
      }
    };
  }
  std::vector<RecordedRequest> ComponentRequests() const {
    std::vector<RecordedRequest> out;
    for (const RecordedRequest& r : t.host.requests) {
      if (r.kind == RequestComponent) out.push_back(r);
    }
    return out;
  }
  static std::u16string Text(const vellvar& v) {
    vellvar copy(v);
    return copy.WideText();
  }
  static int Int(const vellvar& v) { return v.ToInt(); }

  TestInterpreter t;
  int nextSlot = 5;
  bool refuseDelete = false;
};

TEST_F(ComponentKeywords, CreateSendsTheTypeAndTakesTheWholeNode) {
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL B, C\nB = CREATE BUTTON\nC = CREATE(timer)\n"
                       u"PRINT B, \" \", C, \" \", B.FOO")),
            "5 6 ");
  const auto r = ComponentRequests();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(Int(r[0].slots[1]), ComponentSet);
  EXPECT_EQ(Int(r[0].slots[2]), 0);
  EXPECT_EQ(Int(r[0].slots[3]), MemberCreate);
  EXPECT_EQ(Int(r[0].slots[4]), TypeButton);
  EXPECT_EQ(Int(r[1].slots[4]), TypeTimer);
  const vellarray& b = t.interp().globals[0];
  EXPECT_EQ(b.kind, TypeButton);
  EXPECT_EQ(b.ChildCount(), 23);  // the 22 members and the ordinary child FOO
  EXPECT_EQ(t.interp().globals[1].kind, TypeTimer);
}

TEST_F(ComponentKeywords, CreateFailures) {
  // The table answers 0 for a type it cannot make: area overflow.
  t.Run(u"GLOBAL B");
  EXPECT_NE(Utf8(t.Run(u"B = CREATE NOSUCHTYPE")).find("area overflow"), std::string::npos);
  EXPECT_NE(Utf8(t.Run(u"B = CREATE \"Button\"")).find("area overflow"), std::string::npos);
  t.host.requests.clear();
  EXPECT_NE(Utf8(t.Run(u"B = CREATE \"\"")).find("undefined error"), std::string::npos);
  EXPECT_TRUE(ComponentRequests().empty());
}

TEST_F(ComponentKeywords, MembersAreReadWrittenAndCalledThroughRequests) {
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL B, X\nB = CREATE BUTTON\nB.CAPTION = \"OK\"\n"
                       u"X = B.CAPTION\nPRINT X\nB.ONCLICK = CLICKED\nB.ZORDER 1")),
            "read");
  const auto r = ComponentRequests();
  ASSERT_EQ(r.size(), 5u);
  // The write: all three argument slots, the unused ones 0.
  EXPECT_EQ(Int(r[1].slots[1]), ComponentSet);
  EXPECT_EQ(Int(r[1].slots[2]), 5);
  EXPECT_EQ(Int(r[1].slots[3]), MemberCaption);
  EXPECT_EQ(Text(r[1].slots[4]), u"OK");
  EXPECT_EQ(Int(r[1].slots[5]), 0);
  EXPECT_EQ(Int(r[2].slots[1]), ComponentGet);
  EXPECT_EQ(Int(r[2].slots[3]), MemberCaption);
  // An event takes the SUB's name as text.
  EXPECT_EQ(Int(r[3].slots[3]), MemberOnClick);
  EXPECT_EQ(Text(r[3].slots[4]), u"CLICKED");
  EXPECT_EQ(Int(r[4].slots[3]), MemberZOrder);
}

TEST_F(ComponentKeywords, SetCopiesTheWholeNodeAndAPlainAssignmentTheSlotNumber) {
  t.Run(u"GLOBAL A, B, C\nB = CREATE BUTTON\nSET A = B\nC = B\nA.LEFT = 10\nC.LEFT = 20");
  const auto r = ComponentRequests();
  // Only A reaches the component; C.LEFT is an ordinary child of C.
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(Int(r[1].slots[2]), 5);
  EXPECT_EQ(Int(r[1].slots[3]), MemberLeft);
  const vellarray& c = t.interp().globals[2];
  EXPECT_EQ(c.kind, NodeVariable);
  EXPECT_EQ(c.item.ToInt(), 5);
  EXPECT_EQ(c.ChildCount(), 1);
}

TEST_F(ComponentKeywords, DeleteEmptiesOnlyTheNodeItsArgumentReached) {
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL B, X, Y\nB = CREATE BUTTON\nX = 3\nDELETE X\n"
                       u"PRINT \"[\", X, \"]\"\nY = B\nDELETE 5\nPRINT B\nDELETE B\n"
                       u"PRINT \"[\", B, \"]\"")),
            "[]5[]");
  const auto r = ComponentRequests();
  // A plain variable and a bare number send nothing; B's delete is sent.
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(Int(r[1].slots[2]), 5);
  EXPECT_EQ(Int(r[1].slots[3]), MemberDelete);
  EXPECT_EQ(t.interp().globals[0].kind, NodeVariable);
  EXPECT_EQ(t.interp().globals[0].ChildCount(), 0);
}

TEST_F(ComponentKeywords, ARefusedDeleteKeepsTheVariable) {
  refuseDelete = true;
  EXPECT_NE(Utf8(t.Run(u"GLOBAL B\nB = CREATE BUTTON\nDELETE B")).find("undefined error"),
            std::string::npos);
  EXPECT_EQ(t.interp().globals[0].kind, TypeButton);
  EXPECT_EQ(t.interp().globals[0].ChildCount(), 22);
}

TEST_F(ComponentKeywords, ThisIsTheObjectASubWasReachedThrough) {
  // Without any reference yet there is no THIS.
  EXPECT_NE(Utf8(t.Run(u"PRINT THIS")).find("variable error"), std::string::npos);
  t.host.requests.clear();
  EXPECT_EQ(Utf8(t.Run(u"GLOBAL B\nB = CREATE BUTTON\nSUB M() { RETURN (THIS.TOP) }\n"
                       u"SET B.H = M\nPRINT B.H()")),
            "read");
  const auto r = ComponentRequests();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(Int(r[1].slots[1]), ComponentGet);
  EXPECT_EQ(Int(r[1].slots[2]), 5);
  EXPECT_EQ(Int(r[1].slots[3]), MemberTop);
}

}  // namespace

namespace {

// A shell that says whether the components' objects could be made and
// records when the components end.
class ComponentShell : public vell::test::RecordingHost {
 public:
  bool StartComponents() override {
    ++starts;
    return objectsMade;
  }
  void EndComponents() override {
    ++ends;
    runStateAtEnd = gInterpreter != nullptr ? gInterpreter->runState : -1;
  }
  bool objectsMade = true;
  int starts = 0;
  int ends = 0;
  int runStateAtEnd = -1;
};

TEST(ComponentEntry, TheInterpreterStartsAndEndsTheComponents) {
  ComponentShell shell;
  InterpreterEntry(EntryCreate, &shell, &shell);
  ASSERT_NE(gInterpreter, nullptr);
  EXPECT_EQ(shell.starts, 1);
  EXPECT_TRUE(shell.warnings.empty());
  InterpreterEntry(EntryDestroy);
  // The components go after the names, with every event stopped.
  EXPECT_EQ(shell.ends, 1);
  EXPECT_EQ(shell.runStateAtEnd, StateEnd);
  EXPECT_EQ(gInterpreter, nullptr);
}

TEST(ComponentEntry, ComponentObjectsThatCannotBeMadeAreReported) {
  ComponentShell shell;
  shell.objectsMade = false;
  InterpreterEntry(EntryCreate, &shell, &shell);
  ASSERT_NE(gInterpreter, nullptr);  // the interpreter stays
  ASSERT_EQ(shell.warnings.size(), 1u);
  EXPECT_EQ(shell.warnings[0], u"cannot allocate memory ");
  InterpreterEntry(EntryDestroy);
  EXPECT_EQ(shell.ends, 1);
}

}  // namespace
