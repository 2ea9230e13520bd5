// The directives #SUBCLEAR, #SUBTOP, #COMPONENT and #DB.
#include <gtest/gtest.h>

#include <string>

#include "library/library_builtins.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::TestInterpreter;
using vell::test::Utf8;

class Directives : public ::testing::Test {
 protected:
  Directives() { vell::RegisterLibraryBuiltins(t.interp()); }
  Interpreter& I() { return t.interp(); }
  // Declares globals up to entry `count` - 1.
  void FillGlobals(int count) {
    for (int i = 0; i < count; ++i) {
      vellarray& e = I().globals[i];
      if (e.kind != NodeFree) continue;
      e.kind = NodeVariable;
      e.SetKey(std::u16string(u"V") + char16_t(u'0' + i % 10) + char16_t(u'A' + i / 10 % 26) +
               char16_t(u'A' + i / 260));
    }
  }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  TestInterpreter t;
};

TEST_F(Directives, SubClearEmptiesBothTablesAndForgetsTheReferencedNodes) {
  Run(u"GLOBAL A, B\nSUB F() { }\nA[1] = 2\n#SUBTOP");
  EXPECT_EQ(I().subTop, 3);
  EXPECT_EQ(Run(u"#SUBCLEAR\nPRINT \"x\""), "x");
  EXPECT_EQ(I().subTop, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(I().globals[i].kind, NodeFree);
  EXPECT_FALSE(I().thisSource);
  EXPECT_FALSE(I().lastNode);
  // Nothing left for #DB to list.
  EXPECT_EQ(Run(u"#DB 1"), "");
}

TEST_F(Directives, SubTopProtectsTheGlobalsDeclaredSoFar) {
  Run(u"#SUBTOP");
  EXPECT_EQ(I().subTop, 0);
  Run(u"GLOBAL A, B\n#SUBTOP");
  EXPECT_EQ(I().subTop, 2);
  FillGlobals(kTableEntries);
  Run(u"#SUBTOP");
  EXPECT_EQ(I().subTop, 500);
}

TEST_F(Directives, ComponentBindsOrReplacesOneGlobal) {
  EXPECT_EQ(Run(u"GLOBAL A, MAINFORM\nSUB W() { }\n#COMPONENT W, Button, 7\n"
                u"#COMPONENT MainForm, Form, 0"),
            "");
  const vellarray& w = I().globals[2];
  EXPECT_EQ(w.kind, TypeButton);
  EXPECT_EQ(w.item.ToInt(), 7);
  EXPECT_EQ(w.ChildCount(), 22);
  EXPECT_EQ(I().globals[1].kind, TypeForm);
  EXPECT_EQ(I().globals[1].ChildCount(), 29);
  EXPECT_EQ(I().globals[3].kind, NodeFree);  // no second entry
  // A new name takes the first free entry.
  Run(u"#COMPONENT T, TIMER, 9");
  EXPECT_EQ(I().globals[3].kind, TypeTimer);
  vellvar key(I().globals[3].Key());
  EXPECT_EQ(std::u16string(key.WideText()), u"T");
}

TEST_F(Directives, ComponentFailures) {
  Run(u"GLOBAL A\nA = 5");
  // An unknown type word is an error and leaves the entry alone.
  EXPECT_NE(Run(u"#COMPONENT A, Nothing, 3").find("undefined error"), std::string::npos);
  EXPECT_EQ(I().globals[0].kind, NodeVariable);
  EXPECT_EQ(I().globals[0].item.ToInt(), 5);
  EXPECT_NE(Run(u"#COMPONENT A, Form").find("system error"), std::string::npos);
  FillGlobals(kTableEntries);
  EXPECT_NE(Run(u"#COMPONENT NEWNAME, Form, 0").find("area overflow"), std::string::npos);
}

TEST_F(Directives, DbListsDescendantsBeforeTheirNode) {
  EXPECT_EQ(Run(u"GLOBAL A\nA = 1.5\nA[0] = 1\nA[1] = \"x\"\nA[1][\"K\"] = 2\n#DB A"),
            "    no=1 type=1 name= data=1 count=0\n"
            "      no=1 type=1 name=K data=2 count=0\n"
            "    no=2 type=1 name= data=x count=1\n"
            "  no=1 type=1 name=A data=1.5 count=2\n");
  // An element lists itself and the elements after it.
  EXPECT_EQ(Run(u"#DB A[0]"),
            "  no=1 type=1 name= data=1 count=0\n"
            "    no=1 type=1 name=K data=2 count=0\n"
            "  no=2 type=1 name= data=x count=1\n");
  EXPECT_NE(Run(u"#DB A, A").find("undefined error"), std::string::npos);
}

}  // namespace
