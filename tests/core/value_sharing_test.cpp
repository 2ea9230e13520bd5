// Copies of a text share one heap block; whatever changes a value's text in
// place first gives that value a block of its own, so no other value ever
// sees the change.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/vellvar.h"

using namespace vell;

namespace {

const std::u16string kLong(40, u'a');  // beyond the inline buffer

vellvar Narrow(const char* text) {
  vellvar v;
  v = text;
  return v;
}

}  // namespace

TEST(ValueSharing, CopiesShareAndLettingGoFreesOnlyWithTheLastHolder) {
  vellvar a{std::u16string_view(kLong)};
  EXPECT_EQ(a.ShareCount(), 1);
  {
    vellvar b(a);
    vellvar c;
    c = b;
    EXPECT_EQ(a.ShareCount(), 3);
    EXPECT_EQ(b.Bytes(), a.Bytes());
    EXPECT_EQ(c.Bytes(), a.Bytes());
    EXPECT_EQ(c.WideView(), kLong);
    c = b;  // again: no change in the count
    EXPECT_EQ(a.ShareCount(), 3);
  }
  EXPECT_EQ(a.ShareCount(), 1);
  // Short texts and numbers are copied, never shared.
  vellvar s(u"abc");
  vellvar t(s);
  EXPECT_TRUE(t.IsInline());
  EXPECT_NE(t.Bytes(), s.Bytes());
}

// Every operation that writes a text: the value it is applied to changes,
// a copy taken before stays as it was, for narrow and wide texts alike.
TEST(ValueSharing, EveryWriteLeavesTheOtherHoldersAlone) {
  const std::vector<std::pair<const char*, std::function<void(vellvar&)>>> writes = {
      {"append", [](vellvar& v) { v += vellvar(u"tail"); }},
      {"self append", [](vellvar& v) { v += v; }},
      {"concat", [](vellvar& v) { v.Concat(vellvar(u"tail")); }},
      {"minus", [](vellvar& v) { v -= vellvar(u"x"); }},
      {"times", [](vellvar& v) { v *= vellvar(u"x"); }},
      {"upper", [](vellvar& v) { v.ToUpper(); }},
      {"lower", [](vellvar& v) { v.ToUpper().ToLower(); }},
      {"replace", [](vellvar& v) { v.ReplaceAll(vellvar(u"a"), vellvar(u"bc")); }},
      {"left copy", [](vellvar& v) { v.LeftCopy(v, 3); }},
      {"to narrow", [](vellvar& v) { v.ChangeKind(KindNarrow); }},
      {"to wide", [](vellvar& v) { v.ChangeKind(KindWide); }},
      {"to integer", [](vellvar& v) { v.ChangeKind(KindInteger); }},
      {"number", [](vellvar& v) { v = 12.5; }},
      {"short text", [](vellvar& v) { v = u"z"; }},
      {"comparison", [](vellvar& v) { (void)(v == vellvar(5)); }},
  };
  for (const bool narrow : {false, true}) {
    for (const auto& [name, write] : writes) {
      vellvar original{std::u16string_view(kLong)};
      if (narrow) original.ChangeKind(KindNarrow);
      vellvar copy(original);
      const vellvar expected = narrow ? Narrow(std::string(40, 'a').c_str()) : vellvar(kLong);
      write(copy);
      EXPECT_EQ(original.kind, expected.kind) << name;
      EXPECT_EQ(original.Length(), 40) << name;
      EXPECT_EQ(vellvar(original) == expected, 1) << name << (narrow ? " narrow" : " wide");
      // Writing the changed value again changes nothing else either.
      write(copy);
      EXPECT_EQ(vellvar(original) == expected, 1) << name;
    }
  }
}

TEST(ValueSharing, ANumberStoredIntoASharedTextLeavesTheBlockToTheOthers) {
  vellvar a{std::u16string_view(kLong)};
  vellvar b(a);
  b = 7;
  EXPECT_EQ(b.IntValue(), 7);
  EXPECT_TRUE(b.IsInline());
  EXPECT_EQ(a.ShareCount(), 1);
  EXPECT_EQ(a.WideView(), kLong);
  // Alone with its block, a value keeps it for the number and the next text.
  const char* block = a.Bytes();
  a = 2.5;
  EXPECT_EQ(a.Bytes(), block);
  vellvar copied(a);
  EXPECT_TRUE(copied.IsInline());
  EXPECT_EQ(copied.RealValue(), 2.5);
  a = u"again";
  EXPECT_EQ(a.Bytes(), block);
}

TEST(ValueSharing, MovesTakeTheBlockWithoutCopying) {
  vellvar a{std::u16string_view(kLong)};
  vellvar keep(a);
  const char* block = a.Bytes();
  vellvar moved(std::move(a));
  EXPECT_EQ(moved.Bytes(), block);
  EXPECT_EQ(keep.ShareCount(), 2);
  vellvar target(u"x");
  target = std::move(moved);
  EXPECT_EQ(target.Bytes(), block);
  EXPECT_EQ(keep.ShareCount(), 2);
  EXPECT_EQ(moved.IntValue(), 0);
}

TEST(ValueSharing, AnAppendForTheStoreTakesTheBlockOnlyFromItsOneOtherHolder) {
  vellvar s{std::u16string_view(kLong)};
  s += vellvar(u"b");  // grown: room for more
  const vellvar right(u"c");
  vellvar left(s);
  ASSERT_TRUE(left.TakeBlockForAppend(s, right));
  EXPECT_EQ(s.kind, KindInteger);
  const char* block = left.Bytes();
  left += right;
  EXPECT_EQ(left.Bytes(), block);  // in place
  EXPECT_EQ(left.WideView(), kLong + u"bc");
  s = left;

  // A third holder, another owner, another kind, or no room: nothing happens.
  vellvar third(s);
  vellvar other(s);
  EXPECT_FALSE(other.TakeBlockForAppend(s, right));
  third = 0;
  vellvar stranger{std::u16string_view(kLong)};
  EXPECT_FALSE(other.TakeBlockForAppend(stranger, right));
  EXPECT_FALSE(other.TakeBlockForAppend(s, Narrow("c")));
  const vellvar huge{std::u16string(1000, u'h')};
  EXPECT_FALSE(other.TakeBlockForAppend(s, huge));
  EXPECT_EQ(s.WideView(), kLong + u"bc");
  vellvar inlineText(u"ab");
  vellvar inlineCopy(inlineText);
  EXPECT_FALSE(inlineCopy.TakeBlockForAppend(inlineText, right));
}
