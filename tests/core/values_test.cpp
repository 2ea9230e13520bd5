#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "core/vellvar.h"

namespace {

std::string N(vellvar v) { return std::string(v.Text()); }
std::u16string W(vellvar v) { return std::u16string(v.WideText()); }
bool IsInline(const vellvar& v) { return v.data == v.inlineBuffer && v.capacity == 8; }

vellvar Narrow(const char* text) {
  vellvar v;
  v = text;
  return v;
}

}  // namespace

TEST(Values, StorageFollowsTheGrowthRule) {
  vellvar four(u"abcd");
  EXPECT_TRUE(IsInline(four));
  vellvar five(u"abcde");
  EXPECT_FALSE(IsInline(five));
  EXPECT_EQ(five.capacity, 10);

  vellvar v(std::u16string(100, u'x'));
  EXPECT_EQ(v.capacity, 200);
  char* block = v.data;
  v = 7;
  EXPECT_EQ(v.kind, KindInteger);
  EXPECT_EQ(v.IntValue(), 7);
  EXPECT_EQ(v.capacity, 200);
  v = u"abc";
  EXPECT_EQ(v.data, block);
  EXPECT_EQ(v.capacity, 200);
  EXPECT_EQ(v.WideView(), u"abc");

  // A copy gets exactly what its text needs, not the source's capacity.
  vellvar copy(v);
  EXPECT_TRUE(IsInline(copy));
  vellvar longer(std::u16string(6, u'y'));
  longer = std::u16string(5, u'z');
  vellvar copy2(longer);
  EXPECT_EQ(copy2.capacity, 10);

  // Assigning a value to itself changes nothing.
  vellvar& same = v;
  v = same;
  EXPECT_EQ(v.WideView(), u"abc");
  EXPECT_EQ(v.data, block);

  // Null wide pointer stores the empty text.
  v = static_cast<const char16_t*>(nullptr);
  EXPECT_EQ(v.kind, KindWide);
  EXPECT_EQ(v.Length(), 0);
}

TEST(Values, MoveStealsTheBlockAndLeavesIntegerZero) {
  vellvar a(std::u16string(50, u'q'));
  char* block = a.data;
  vellvar b(std::move(a));
  EXPECT_EQ(b.data, block);
  EXPECT_EQ(b.capacity, 100);
  EXPECT_EQ(a.kind, KindInteger);
  EXPECT_EQ(a.IntValue(), 0);
  EXPECT_TRUE(IsInline(a));

  vellvar c(u"hi");
  c = std::move(b);
  EXPECT_EQ(c.data, block);
  EXPECT_EQ(c.Length(), 50);
  EXPECT_TRUE(IsInline(b));
  EXPECT_EQ(b.IntValue(), 0);

  vellvar small(u"ab");
  vellvar moved(std::move(small));
  EXPECT_TRUE(IsInline(moved));
  EXPECT_EQ(moved.WideView(), u"ab");
}

TEST(Values, NumbersBecomeText) {
  vellvar i(12);
  i.ChangeKind(KindWide);
  EXPECT_EQ(i.WideView(), u"12");
  EXPECT_EQ(i.capacity, 80);
  EXPECT_EQ(N(vellvar(-5)), "-5");
  EXPECT_EQ(N(vellvar(INT_MIN)), "-2147483648");

  EXPECT_EQ(N(vellvar(5.0)), "5");
  EXPECT_EQ(N(vellvar(0.1)), "0.1");
  EXPECT_EQ(N(vellvar(1.0 / 3)), "0.333333333333333");
  EXPECT_EQ(N(vellvar(1e20)), "1e+20");
  EXPECT_EQ(N(vellvar(1e15)), "1e+15");
  EXPECT_EQ(N(vellvar(123456789012345.0)), "123456789012345");
  EXPECT_EQ(N(vellvar(0.0001)), "0.0001");
  EXPECT_EQ(N(vellvar(0.00001)), "1e-05");
  EXPECT_EQ(N(vellvar(-2.5)), "-2.5");
  EXPECT_EQ(W(vellvar(2.25)), u"2.25");

  // The number lives in the buffer that the 80-byte step replaces; its value
  // must be read before the old block goes.
  vellvar v(std::u16string(20, u'x'));  // heap block of 40 bytes
  v = 1234.5;
  v.ChangeKind(KindNarrow);
  EXPECT_EQ(v.NarrowView(), "1234.5");
  EXPECT_EQ(v.capacity, 80);
  vellvar w(std::u16string(20, u'x'));
  w = -77;
  EXPECT_EQ(W(w), u"-77");
}

TEST(Values, RealsTruncateToIntegers) {
  EXPECT_EQ(vellvar(2.9).ToInt(), 2);
  EXPECT_EQ(vellvar(-2.9).ToInt(), -2);
  EXPECT_EQ(vellvar(3000000000.0).ToInt(), -1294967296);
  EXPECT_EQ(vellvar(4294967296.0 + 5).ToInt(), 5);
  EXPECT_EQ(vellvar(std::nan("")).ToInt(), 0);
  EXPECT_EQ(vellvar(HUGE_VAL).ToInt(), 0);
  EXPECT_EQ(vellvar(-HUGE_VAL).ToInt(), 0);
  EXPECT_EQ(vellvar(1e19).ToInt(), 0);
  EXPECT_EQ(vellvar(-1e19).ToInt(), 0);
  vellvar r(7.99);
  r.ChangeKind(KindInteger);
  EXPECT_EQ(r.kind, KindInteger);
  EXPECT_EQ(r.IntValue(), 7);
}

TEST(Values, TextReadsAsNumbers) {
  EXPECT_EQ(Narrow("12abc").ToInt(), 12);
  EXPECT_DOUBLE_EQ(Narrow("12abc").ToReal(), 12.0);
  EXPECT_EQ(Narrow("abc").ToInt(), 0);
  EXPECT_EQ(Narrow(" 42").ToInt(), 42);
  EXPECT_EQ(Narrow("\t\n\v\f\r -7x").ToInt(), -7);
  EXPECT_EQ(Narrow("+8").ToInt(), 8);
  EXPECT_EQ(Narrow("- 8").ToInt(), 0);
  EXPECT_EQ(Narrow("0x10").ToInt(), 0);
  EXPECT_EQ(Narrow("0x10").ToReal(), 0.0);
  EXPECT_EQ(Narrow("inf").ToReal(), 0.0);
  EXPECT_EQ(Narrow("nan").ToReal(), 0.0);
  EXPECT_EQ(Narrow("4294967297").ToInt(), 1);  // wraps, no overflow test
  EXPECT_EQ(Narrow("-2147483648").ToInt(), INT_MIN);
  EXPECT_EQ(Narrow("1.5e3").ToReal(), 1500.0);
  EXPECT_EQ(Narrow(" -.5").ToReal(), -0.5);
  EXPECT_EQ(Narrow("5.").ToReal(), 5.0);
  EXPECT_EQ(Narrow("1e").ToReal(), 1.0);
  EXPECT_EQ(Narrow("2E+2x").ToReal(), 200.0);
  EXPECT_EQ(Narrow(".").ToReal(), 0.0);
  EXPECT_EQ(Narrow("1e400").ToReal(), HUGE_VAL);
  EXPECT_EQ(Narrow("-1e400").ToReal(), -HUGE_VAL);
  EXPECT_EQ(Narrow("1e-400").ToReal(), 0.0);
  EXPECT_EQ(Narrow("0.1").ToReal(), 0.1);
  // Long digit strings read exactly as short ones do.
  EXPECT_EQ(vellvar(u"1" + std::u16string(100, u'0') + u".5").ToReal(), 1e100);
  EXPECT_EQ(Narrow(("0." + std::string(99, '0') + "1x").c_str()).ToReal(), 1e-100);
  EXPECT_EQ(vellvar(u" 3.25kg").ToReal(), 3.25);
  EXPECT_EQ(vellvar(u"-12abc").ToInt(), -12);
  EXPECT_EQ(vellvar(u"\uFF11").ToInt(), 0);  // only ASCII digits count

  vellvar v(u"12abc");
  v.ChangeKind(KindInteger);
  EXPECT_EQ(v.IntValue(), 12);
  vellvar r = Narrow("2.5");
  r.ChangeKind(KindReal);
  EXPECT_EQ(r.RealValue(), 2.5);
}

TEST(Values, ComparisonsConvertTheLeftOperand) {
  vellvar five = Narrow("5");
  EXPECT_EQ(five == vellvar(5.0), 1);
  EXPECT_EQ(five.kind, KindReal);

  EXPECT_EQ(vellvar(u"abc") < vellvar(u"abd"), 1);
  EXPECT_EQ(vellvar(u"B") < vellvar(u"a"), 1);
  EXPECT_EQ(vellvar(u"ab") < vellvar(u"abc"), 1);
  EXPECT_EQ(vellvar(u"abc") > vellvar(u"ab"), 1);
  EXPECT_EQ(vellvar(u"abc") == vellvar(u"abc"), 1);
  EXPECT_EQ(vellvar(u"abc") != vellvar(u"abC"), 1);
  EXPECT_EQ(vellvar(u"\uFFFF") > vellvar(u"a"), 1);  // unsigned units
  EXPECT_EQ(Narrow("\xC3\xA9") > Narrow("z"), 1);     // unsigned bytes
  EXPECT_EQ(vellvar(-1) < vellvar(1), 1);
  EXPECT_EQ(vellvar(3) >= vellvar(3), 1);
  EXPECT_EQ(vellvar(3) <= vellvar(2), 0);
  EXPECT_EQ(vellvar(std::nan("")) == vellvar(std::nan("")), 0);

  vellvar seven(7);
  EXPECT_EQ(seven == vellvar(u"7"), 1);
  EXPECT_EQ(seven.kind, KindWide);

  EXPECT_EQ(vellvar(2) && vellvar(3), 1);
  EXPECT_EQ(vellvar(2) && vellvar(0), 0);
  EXPECT_EQ(vellvar(0) || vellvar(5), 1);
  EXPECT_EQ(vellvar(0.0) || vellvar(0.0), 0);
  EXPECT_EQ(vellvar(0.5) && vellvar(2.0), 1);
  EXPECT_EQ(vellvar(u"a") && vellvar(u"b"), 0);
  EXPECT_EQ(vellvar(u"a") || vellvar(u"b"), 0);
}

TEST(Values, ArithmeticWrapsAndNeverTraps) {
  EXPECT_EQ((vellvar(7) /= vellvar(2)).IntValue(), 3);
  EXPECT_EQ((vellvar(-7) /= vellvar(2)).IntValue(), -3);
  EXPECT_EQ((vellvar(INT_MAX) += vellvar(1)).IntValue(), INT_MIN);
  EXPECT_EQ((vellvar(INT_MIN) -= vellvar(1)).IntValue(), INT_MAX);
  EXPECT_EQ((vellvar(65536) *= vellvar(65537)).IntValue(), 65536);
  EXPECT_EQ((vellvar(INT_MIN) /= vellvar(-1)).IntValue(), INT_MIN);
  EXPECT_EQ((vellvar(5) /= vellvar(0)).IntValue(), 0);
  EXPECT_EQ(vellvar(INT_MIN).Negate().IntValue(), INT_MIN);
  EXPECT_EQ(vellvar(2.5).Negate().RealValue(), -2.5);
  EXPECT_EQ((vellvar(1.5) *= vellvar(2.0)).RealValue(), 3.0);

  // The left operand takes the right operand's kind first.
  vellvar n(3);
  n += vellvar(0.5);
  EXPECT_EQ(n.kind, KindReal);
  EXPECT_EQ(n.RealValue(), 3.5);
  vellvar t(u"2.5");
  t *= vellvar(2);
  EXPECT_EQ(t.kind, KindInteger);
  EXPECT_EQ(t.IntValue(), 4);

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
  vellvar text(u"ab");
  text.Concat(vellvar(u"cd"));
  EXPECT_EQ(text.WideView(), u"abcd");
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
  EXPECT_EQ(a.WideView(), u"abababab");
  EXPECT_EQ(a.capacity, 16);
  a += a;
  EXPECT_EQ(a.WideView(), u"abababababababab");
  a.Concat(a);
  EXPECT_EQ(a.Length(), 32);

  vellvar big(std::u16string(40, u'x'));
  big = u"xy";  // capacity 80, room to append in place
  big += big;
  EXPECT_EQ(big.WideView(), u"xyxy");
  EXPECT_EQ(big.capacity, 80);

  vellvar n = Narrow("hello");
  n += n;
  EXPECT_EQ(n.NarrowView(), "hellohello");

  // LeftCopy from itself.
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
}

TEST(Values, WideToNarrowKeepsTheWholeText) {
  vellvar v(u"日本語のテキスト");  // 8 units, 16 bytes; 24 bytes of UTF-8
  v.ChangeKind(KindNarrow);
  EXPECT_EQ(v.NarrowView(), "日本語のテキスト");
  EXPECT_GE(v.capacity, 24);
  v.ChangeKind(KindWide);
  EXPECT_EQ(v.WideView(), u"日本語のテキスト");
  EXPECT_GE(v.capacity, 48);  // two bytes per narrow byte

  vellvar inlineWide(u"日本");
  EXPECT_EQ(N(inlineWide), "日本");
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

TEST(Values, LeftCopy) {
  vellvar v;
  v.LeftCopy(vellvar(u"abcdef"), 3);
  EXPECT_EQ(v.WideView(), u"abc");
  v.LeftCopy(vellvar(u"ab"), 10);
  EXPECT_EQ(v.WideView(), u"ab");
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
}

TEST(Values, CaseMapping) {
  vellvar n = Narrow("Hello, WORLD \xC3\x89t\xC3\xA9");
  n.ToUpper();
  EXPECT_EQ(n.NarrowView(), "HELLO, WORLD \xC3\x89T\xC3\xA9");
  n.ToLower();
  EXPECT_EQ(n.NarrowView(), "hello, world \xC3\x89t\xC3\xA9");

  vellvar w(u"Ärger straße ÿ");
  w.ToUpper();
  EXPECT_EQ(w.WideView(), u"ÄRGER STRAßE \u0178");
  w.ToLower();
  EXPECT_EQ(w.WideView(), u"ärger straße ÿ");

  vellvar num(5);
  num.ToUpper();
  EXPECT_EQ(num.IntValue(), 5);
}

TEST(Values, Find) {
  vellvar v(u"abcabc");
  vellvar bc(u"bc");
  EXPECT_EQ(v.Find(bc, 0), 1);
  EXPECT_EQ(v.Find(bc, 2), 4);
  EXPECT_EQ(v.Find(bc, 5), -1);
  EXPECT_EQ(v.Find(bc, 6), -1);
  EXPECT_EQ(v.Find(bc, 7), -1);
  EXPECT_EQ(v.Find(bc, -1), -1);
  EXPECT_EQ(v.Find(vellvar(u""), 0), -1);
  EXPECT_EQ(vellvar(123).Find(vellvar(u"2"), 0), -1);
  EXPECT_EQ(vellvar(u"").Find(bc, 0), -1);
  EXPECT_EQ(v.Find(vellvar(u"abcabcabc"), 0), -1);

  vellvar narrow = Narrow("xx日本");
  EXPECT_EQ(narrow.Find(Narrow("本"), 0), 5);  // bytes

  // A pattern of another kind is converted, not read with the wrong width.
  EXPECT_EQ(narrow.Find(vellvar(u"日"), 0), 2);
  EXPECT_EQ(vellvar(u"a12b").Find(vellvar(12), 0), 1);
  EXPECT_EQ(vellvar(u"abc").Find(Narrow("c"), 0), 2);
  vellvar pattern(u"bc");
  v.Find(pattern, 0);
  EXPECT_EQ(pattern.kind, KindWide);
}

TEST(Values, ReplaceAll) {
  vellvar a(u"aaa");
  a.ReplaceAll(vellvar(u"aa"), vellvar(u"b"));
  EXPECT_EQ(a.WideView(), u"ba");

  vellvar b(u"aaa");
  b.ReplaceAll(vellvar(u"a"), vellvar(u"xyz"));
  EXPECT_EQ(b.WideView(), u"xyzxyzxyz");
  EXPECT_EQ(b.capacity, 18);

  vellvar empty(u"");
  empty.ReplaceAll(vellvar(u"a"), vellvar(u"b"));
  EXPECT_EQ(empty.Length(), 0);
  vellvar same(u"abc");
  same.ReplaceAll(vellvar(u""), vellvar(u"x"));
  EXPECT_EQ(same.WideView(), u"abc");

  // The buffer follows the estimate, so a text that shrinks into 8 bytes
  // returns to the inline buffer.
  vellvar shrink(std::u16string(100, u'x'));
  shrink = u"a--b--c--d";
  EXPECT_EQ(shrink.capacity, 200);
  shrink.ReplaceAll(vellvar(u"--"), vellvar(u""));
  EXPECT_EQ(shrink.WideView(), u"abcd");
  EXPECT_EQ(shrink.capacity, 20);  // estimate: the old length
  shrink.ReplaceAll(vellvar(u"b"), vellvar(u"B"));
  EXPECT_EQ(shrink.WideView(), u"aBcd");
  EXPECT_TRUE(IsInline(shrink));

  vellvar n = Narrow("a,b,c");
  n.ReplaceAll(Narrow(","), Narrow(";;"));
  EXPECT_EQ(n.NarrowView(), "a;;b;;c");
  // Pattern and replacement of another kind are converted.
  n.ReplaceAll(vellvar(u";;"), vellvar(u"日"));
  EXPECT_EQ(n.NarrowView(), "a日b日c");
  vellvar w(u"x1x1");
  w.ReplaceAll(vellvar(1), vellvar(2.5));
  EXPECT_EQ(w.WideView(), u"x2.5x2.5");
  // The value itself as its own pattern.
  vellvar self(u"abc");
  self.ReplaceAll(self, vellvar(u"z"));
  EXPECT_EQ(self.WideView(), u"z");

  vellvar number(42);
  number.ReplaceAll(vellvar(u"4"), vellvar(u"5"));
  EXPECT_EQ(number.IntValue(), 42);
}
