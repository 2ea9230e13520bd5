#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/vellvar.h"

using namespace vell;

namespace {

std::string N(vellvar v) { return std::string(v.Text()); }
bool IsInline(const vellvar& v) { return v.IsInline() && v.Capacity() == 8; }

vellvar Narrow(const char* text) {
  vellvar v;
  v = text;
  return v;
}

}  // namespace

TEST(Values, StorageIsReusedMovedAndNeverLost) {
  // A number stored over a text keeps the block for the next text.
  vellvar v(std::u16string(100, u'x'));
  const char* block = v.Bytes();
  v = 7;
  EXPECT_EQ(v.IntValue(), 7);
  v = u"abc";
  EXPECT_EQ(v.Bytes(), block);
  EXPECT_EQ(v.WideView(), u"abc");
  vellvar& same = v;
  v = same;
  EXPECT_EQ(v.WideView(), u"abc");
  v = static_cast<const char16_t*>(nullptr);
  EXPECT_EQ(v.kind, KindWide);
  EXPECT_EQ(v.Length(), 0);

  // Moving steals the block and leaves integer 0 with the inline buffer.
  vellvar a(std::u16string(50, u'q'));
  block = a.Bytes();
  vellvar b(std::move(a));
  EXPECT_EQ(b.Bytes(), block);
  EXPECT_EQ(a.IntValue(), 0);
  EXPECT_TRUE(IsInline(a));
  vellvar c(u"hi");
  c = std::move(b);
  EXPECT_EQ(c.Bytes(), block);
  EXPECT_EQ(c.Length(), 50);
  EXPECT_TRUE(IsInline(b));
  vellvar small(u"ab");
  vellvar moved(std::move(small));
  EXPECT_EQ(moved.WideView(), u"ab");
}

TEST(Values, NumbersAndTextConvert) {
  const std::pair<double, const char*> reals[] = {
      {5.0, "5"},         {0.1, "0.1"},   {1.0 / 3, "0.333333333333333"},
      {1e20, "1e+20"},    {1e15, "1e+15"}, {123456789012345.0, "123456789012345"},
      {0.00001, "1e-05"}, {-2.5, "-2.5"}};
  for (const auto& [value, text] : reals) EXPECT_EQ(N(vellvar(value)), text);
  EXPECT_EQ(N(vellvar(INT_MIN)), "-2147483648");

  // The number lives in the buffer that the 80-byte step replaces; its value
  // must be read before the old block goes.
  vellvar v(std::u16string(20, u'x'));
  v = 1234.5;
  v.ChangeKind(KindNarrow);
  EXPECT_EQ(v.NarrowView(), "1234.5");
  vellvar w(std::u16string(20, u'x'));
  w = -77;
  EXPECT_EQ(std::u16string(w.WideText()), u"-77");

  // Reals truncate; what no 64-bit integer holds gives 0.
  const std::pair<double, int> truncated[] = {
      {2.9, 2}, {-2.9, -2}, {3000000000.0, -1294967296}, {4294967301.0, 5},
      {std::nan(""), 0}, {HUGE_VAL, 0}, {-HUGE_VAL, 0}, {1e19, 0}, {-1e19, 0}};
  for (const auto& [value, expected] : truncated) EXPECT_EQ(vellvar(value).ToInt(), expected) << value;

  const std::pair<const char*, int> ints[] = {
      {"12abc", 12}, {"abc", 0},   {"\t\n\v\f\r -7x", -7}, {"+8", 8},
      {"- 8", 0},    {"0x10", 0},  {"4294967297", 1},      {"-2147483648", INT_MIN}};
  for (const auto& [text, expected] : ints) EXPECT_EQ(Narrow(text).ToInt(), expected) << text;
  const std::pair<const char*, double> realTexts[] = {
      {"0x10", 0.0},  {"inf", 0.0},  {"nan", 0.0},        {"1.5e3", 1500.0}, {" -.5", -0.5},
      {"5.", 5.0},    {"1e", 1.0},   {"2E+2x", 200.0},    {".", 0.0},        {"1e400", HUGE_VAL},
      {"1e-400", 0.0}, {"0.1", 0.1}, {" 3.25kg", 3.25}};
  for (const auto& [text, expected] : realTexts) EXPECT_EQ(Narrow(text).ToReal(), expected) << text;
  // Long digit strings read exactly as short ones do; only ASCII digits count.
  EXPECT_EQ(vellvar(u"1" + std::u16string(100, u'0') + u".5").ToReal(), 1e100);
  EXPECT_EQ(Narrow(("0." + std::string(99, '0') + "1x").c_str()).ToReal(), 1e-100);
  EXPECT_EQ(vellvar(u"-12abc").ToInt(), -12);
  EXPECT_EQ(vellvar(u"\uFF11").ToInt(), 0);
}

TEST(Values, ComparisonsConvertTheLeftOperand) {
  vellvar five = Narrow("5");
  EXPECT_EQ(five == vellvar(5.0), 1);
  EXPECT_EQ(five.kind, KindReal);
  vellvar seven(7);
  EXPECT_EQ(seven == vellvar(u"7"), 1);
  EXPECT_EQ(seven.kind, KindWide);

  EXPECT_EQ(vellvar(u"ab") < vellvar(u"abc"), 1);
  EXPECT_EQ(vellvar(u"\uFFFF") > vellvar(u"a"), 1);  // unsigned units
  EXPECT_EQ(Narrow("\xC3\xA9") > Narrow("z"), 1);     // unsigned bytes
  EXPECT_EQ(vellvar(std::nan("")) == vellvar(std::nan("")), 0);
  EXPECT_EQ(vellvar(0.5) && vellvar(2.0), 1);
  EXPECT_EQ(vellvar(u"a") && vellvar(u"b"), 0);
  EXPECT_EQ(vellvar(u"a") || vellvar(u"b"), 0);
}

TEST(Values, ArithmeticWrapsAndNeverTraps) {
  EXPECT_EQ((vellvar(-7) /= vellvar(2)).IntValue(), -3);
  EXPECT_EQ((vellvar(INT_MAX) += vellvar(1)).IntValue(), INT_MIN);
  EXPECT_EQ((vellvar(INT_MIN) -= vellvar(1)).IntValue(), INT_MAX);
  EXPECT_EQ((vellvar(65536) *= vellvar(65537)).IntValue(), 65536);
  EXPECT_EQ((vellvar(INT_MIN) /= vellvar(-1)).IntValue(), INT_MIN);
  EXPECT_EQ((vellvar(5) /= vellvar(0)).IntValue(), 0);
  EXPECT_EQ(vellvar(INT_MIN).Negate().IntValue(), INT_MIN);

  // The left operand takes the right operand's kind first.
  vellvar t(u"2.5");
  t *= vellvar(2);
  EXPECT_EQ(t.kind, KindInteger);
  EXPECT_EQ(t.IntValue(), 4);
  // -, * and / on texts give the empty text and leave the right side alone.
  for (auto op : {0, 1, 2}) {
    vellvar s(u"abc");
    vellvar r(u"zz");
    if (op == 0) s -= r;
    if (op == 1) s *= r;
    if (op == 2) s /= r;
    EXPECT_EQ(s.kind, KindWide);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(r.WideView(), u"zz");
  }
  vellvar num(4);
  num.Concat(vellvar(5));
  EXPECT_EQ(num.IntValue(), 4);
  vellvar mixed(12);
  mixed.Concat(vellvar(u"px"));
  EXPECT_EQ(mixed.WideView(), u"12px");
}

TEST(Values, StoresFromTheValueItself) {
  // Self-append: inline to heap, within the block, and into a larger block.
  vellvar a(u"ab");
  a += a;
  EXPECT_EQ(a.WideView(), u"abab");
  a += a;
  a += a;
  EXPECT_EQ(a.WideView(), u"abababababababab");
  a.Concat(a);
  EXPECT_EQ(a.Length(), 32);
  vellvar big(std::u16string(40, u'x'));
  big = u"xy";  // room to append in place
  big += big;
  EXPECT_EQ(big.WideView(), u"xyxy");
  vellvar n = Narrow("hello");
  n += n;
  EXPECT_EQ(n.NarrowView(), "hellohello");

  vellvar l(u"abcdefghij");
  l.LeftCopy(l, 3);
  EXPECT_EQ(l.WideView(), u"abc");
  l.LeftCopy(l, 100);
  EXPECT_EQ(l.WideView(), u"abc");

  // Assignment from a pointer into the value's own buffer.
  vellvar p = Narrow("0123456789abcdef");
  p = p.Text() + 4;
  EXPECT_EQ(p.NarrowView(), "456789abcdef");
  vellvar q(u"0123456789abcdef");
  q = q.WideText() + 10;
  EXPECT_EQ(q.WideView(), u"abcdef");

  vellvar self(u"abc");
  self.ReplaceAll(self, vellvar(u"z"));
  EXPECT_EQ(self.WideView(), u"z");
}

TEST(Values, WideToNarrowKeepsTheWholeText) {
  vellvar v(u"日本語のテキスト");  // 16 bytes wide; 24 bytes of UTF-8
  v.ChangeKind(KindNarrow);
  EXPECT_EQ(v.NarrowView(), "日本語のテキスト");
  v.ChangeKind(KindWide);
  EXPECT_EQ(v.WideView(), u"日本語のテキスト");
  EXPECT_EQ(N(vellvar(u"日本")), "日本");
}

TEST(Values, TextSizesAreCheckedIn64Bits) {
  // 1000 matches, each growing by 600000 units: far beyond 1 GiB.
  vellvar v(std::u16string(1000, u'a'));
  vellvar rep(std::u16string(600001, u'b'));
  EXPECT_THROW(v.ReplaceAll(vellvar(u"a"), rep), std::bad_alloc);
  EXPECT_EQ(v.Length(), 1000);
  EXPECT_EQ(v.WideView()[999], u'a');

  vellvar big;
  big.AssignNarrow(std::string(600'000'000, 'z'));
  EXPECT_THROW(big += big, std::bad_alloc);
  EXPECT_EQ(big.Length(), 600'000'000);
}

TEST(Values, LeftCopyAndCaseMapping) {
  vellvar v;
  v.LeftCopy(Narrow("xyz"), 2);
  EXPECT_EQ(v.kind, KindNarrow);
  EXPECT_EQ(v.NarrowView(), "xy");
  v.LeftCopy(vellvar(u"abc"), -1);
  EXPECT_EQ(v.kind, KindWide);
  EXPECT_EQ(v.Length(), 0);
  vellvar keep(u"keep");
  keep.LeftCopy(vellvar(5), 2);
  EXPECT_EQ(keep.WideView(), u"keep");
  // A huge count copies what there is without asking for that much room.
  vellvar h;
  h.LeftCopy(vellvar(u"abc"), INT_MAX);
  EXPECT_EQ(h.WideView(), u"abc");
  EXPECT_TRUE(IsInline(h));

  // Narrow text maps ASCII letters only; wide text maps unit by unit.
  vellvar n = Narrow("Hello \xC3\x89t\xC3\xA9");
  n.ToUpper();
  EXPECT_EQ(n.NarrowView(), "HELLO \xC3\x89T\xC3\xA9");
  vellvar w(u"Ärger straße ÿ");
  w.ToUpper();
  EXPECT_EQ(w.WideView(), u"ÄRGER STRAßE \u0178");
  w.ToLower();
  EXPECT_EQ(w.WideView(), u"ärger straße ÿ");
}

TEST(Values, FindAndReplaceAll) {
  vellvar v(u"abcabc");
  vellvar bc(u"bc");
  const std::pair<int, int> starts[] = {{0, 1}, {2, 4}, {5, -1}, {6, -1}, {7, -1}, {-1, -1}};
  for (const auto& [start, expected] : starts) EXPECT_EQ(v.Find(bc, start), expected) << start;
  EXPECT_EQ(v.Find(vellvar(u""), 0), -1);
  EXPECT_EQ(vellvar(123).Find(vellvar(u"2"), 0), -1);
  EXPECT_EQ(v.Find(vellvar(u"abcabcabc"), 0), -1);
  // A pattern of another kind is converted, not read with the wrong width.
  vellvar narrow = Narrow("xx日本");
  EXPECT_EQ(narrow.Find(Narrow("本"), 0), 5);  // bytes
  EXPECT_EQ(narrow.Find(vellvar(u"日"), 0), 2);
  EXPECT_EQ(vellvar(u"a12b").Find(vellvar(12), 0), 1);
  EXPECT_EQ(vellvar(u"abc").Find(Narrow("c"), 0), 2);

  vellvar a(u"aaa");
  a.ReplaceAll(vellvar(u"aa"), vellvar(u"b"));
  EXPECT_EQ(a.WideView(), u"ba");
  vellvar same(u"abc");
  same.ReplaceAll(vellvar(u""), vellvar(u"x"));
  EXPECT_EQ(same.WideView(), u"abc");
  vellvar shrink(std::u16string(100, u'x'));
  shrink = u"a--b--c--d";
  shrink.ReplaceAll(vellvar(u"--"), vellvar(u""));
  EXPECT_EQ(shrink.WideView(), u"abcd");
  vellvar n = Narrow("a,b,c");
  n.ReplaceAll(Narrow(","), Narrow(";;"));
  n.ReplaceAll(vellvar(u";;"), vellvar(u"日"));
  EXPECT_EQ(n.NarrowView(), "a日b日c");
  vellvar w(u"x1x1");
  w.ReplaceAll(vellvar(1), vellvar(2.5));
  EXPECT_EQ(w.WideView(), u"x2.5x2.5");
  vellvar number(42);
  number.ReplaceAll(vellvar(u"4"), vellvar(u"5"));
  EXPECT_EQ(number.IntValue(), 42);
}

// Copies of a text share one heap block; whatever changes a value's text in
// place first gives that value a block of its own, so no other value ever
// sees the change.

const std::u16string kLong(40, u'a');  // beyond the inline buffer

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
