// Values keep the length of their text beside it; every kind of store must
// leave it equal to the units before the terminator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "core/vellvar.h"

using namespace vell;

namespace {

// The length field against a scan of the buffer itself.
::testing::AssertionResult Consistent(const vellvar& v) {
  if (!v.IsString()) {
    if (v.Length() != 0) return ::testing::AssertionFailure() << "number with a length";
    return ::testing::AssertionSuccess();
  }
  int64_t scanned;
  if (v.kind == KindNarrow) {
    scanned = int64_t(std::strlen(v.Bytes()));
  } else {
    scanned =
        int64_t(std::char_traits<char16_t>::length(reinterpret_cast<const char16_t*>(v.Bytes())));
  }
  const int64_t unit = v.kind == KindWide ? 2 : 1;
  if (scanned != v.Length()) {
    return ::testing::AssertionFailure() << "length " << v.Length() << ", text has " << scanned;
  }
  if (scanned * unit > v.Capacity()) return ::testing::AssertionFailure() << "beyond capacity";
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(ValueLength, EveryStoreKeepsTheLength) {
  vellvar v(u"abc");
  EXPECT_TRUE(Consistent(v));
  v = "narrow text longer than inline";
  EXPECT_TRUE(Consistent(v));
  v = u"w";
  EXPECT_TRUE(Consistent(v));
  v = std::u16string_view(u"with\0zero", 9);
  EXPECT_TRUE(Consistent(v));
  EXPECT_EQ(v.Length(), 4);
  v.AssignNarrow(std::string_view("ab\0cd", 5));
  EXPECT_TRUE(Consistent(v));
  EXPECT_EQ(v.Length(), 2);
  v = static_cast<const char16_t*>(nullptr);
  EXPECT_TRUE(Consistent(v));

  // Conversions both ways, numbers included.
  vellvar n(-1234);
  n.ChangeKind(KindWide);
  EXPECT_TRUE(Consistent(n));
  EXPECT_EQ(n.Length(), 5);
  n.ChangeKind(KindNarrow);
  EXPECT_TRUE(Consistent(n));
  n.ChangeKind(KindReal);
  EXPECT_TRUE(Consistent(n));
  n.ChangeKind(KindNarrow);
  EXPECT_TRUE(Consistent(n));
  vellvar jp(u"日本語のテキスト");
  jp.ChangeKind(KindNarrow);
  EXPECT_TRUE(Consistent(jp));
  jp.ChangeKind(KindWide);
  EXPECT_TRUE(Consistent(jp));
  EXPECT_EQ(jp.Length(), 8);

  // Operators: appends (self included), the text-emptying ones, and mixed kinds.
  vellvar a(u"ab");
  for (int i = 0; i < 6; ++i) {
    a += a;
    EXPECT_TRUE(Consistent(a));
  }
  EXPECT_EQ(a.Length(), 128);
  a.Concat(vellvar(7));
  EXPECT_TRUE(Consistent(a));
  vellvar m(12);
  m.Concat(vellvar(u"px"));
  EXPECT_TRUE(Consistent(m));
  vellvar e(u"gone");
  e -= vellvar(u"x");
  EXPECT_TRUE(Consistent(e));
  EXPECT_EQ(e.Length(), 0);
  e = u"gone";
  e *= vellvar(u"x");
  EXPECT_TRUE(Consistent(e));
  e = u"gone";
  e /= vellvar(u"x");
  EXPECT_TRUE(Consistent(e));
  vellvar cmp(5);
  (void)(cmp == vellvar(u"5"));  // converts the left operand to text
  EXPECT_TRUE(Consistent(cmp));

  // Text operations.
  vellvar l(u"abcdefghij");
  l.LeftCopy(l, 3);
  EXPECT_TRUE(Consistent(l));
  l.ToUpper();
  EXPECT_TRUE(Consistent(l));
  l.ToLower();
  EXPECT_TRUE(Consistent(l));
  vellvar r(u"a--b--c");
  r.ReplaceAll(vellvar(u"--"), vellvar(u"+++"));
  EXPECT_TRUE(Consistent(r));
  EXPECT_EQ(r.WideView(), u"a+++b+++c");
  r.ReplaceAll(vellvar(u"+++"), vellvar(u""));
  EXPECT_TRUE(Consistent(r));

  // Copies and moves of texts and numbers, into inline and heap buffers.
  vellvar big(std::u16string(100, u'x'));
  vellvar copy(big);
  EXPECT_TRUE(Consistent(copy));
  vellvar moved(std::move(copy));
  EXPECT_TRUE(Consistent(moved));
  EXPECT_TRUE(Consistent(copy));
  vellvar small(u"hi");
  moved = std::move(small);  // inline text into a heap buffer
  EXPECT_TRUE(Consistent(moved));
  EXPECT_EQ(moved.WideView(), u"hi");
  moved = vellvar(3.5);
  EXPECT_TRUE(Consistent(moved));
  EXPECT_EQ(moved.RealValue(), 3.5);
  moved = big;
  EXPECT_TRUE(Consistent(moved));
  EXPECT_EQ(moved.Length(), 100);
}

TEST(ValueLength, AppendsGrowTheBlockGeometrically) {
  vellvar s(u"");
  const vellvar x(u"x");
  int moves = 0;
  const char* block = s.Bytes();
  for (int i = 0; i < 10000; ++i) {
    s += x;
    if (s.Bytes() != block) {
      ++moves;
      block = s.Bytes();
    }
  }
  EXPECT_TRUE(Consistent(s));
  EXPECT_EQ(s.Length(), 10000);
  EXPECT_LT(moves, 30);

  // A value stored into again and again, one unit longer each time.
  vellvar target;
  moves = 0;
  block = target.Bytes();
  std::u16string text;
  for (int i = 0; i < 2000; ++i) {
    text += u'y';
    target = std::u16string_view(text);
    if (target.Bytes() != block) {
      ++moves;
      block = target.Bytes();
    }
  }
  EXPECT_TRUE(Consistent(target));
  EXPECT_LT(moves, 30);

  // A number moved out of a value leaves the value's block behind for the
  // next text it holds.
  vellvar holder(std::u16string(50, u'z'));
  holder = 5;
  const char* kept = holder.Bytes();
  vellvar taken(std::move(holder));
  EXPECT_EQ(taken.IntValue(), 5);
  EXPECT_EQ(holder.Bytes(), kept);
  EXPECT_TRUE(Consistent(holder));
  holder = std::u16string_view(std::u16string(40, u'w'));
  EXPECT_EQ(holder.Bytes(), kept);
  EXPECT_TRUE(Consistent(holder));
}
