#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/text_codec.h"

using namespace vell;

using namespace vell::text;

TEST(TextCodec, Utf8BothWays) {
  const std::u16string text = u"aé日本\U0001F600z";
  const std::string bytes = "a\xC3\xA9\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(WideToUtf8(text), bytes);
  EXPECT_EQ(Utf8ToWide(bytes), text);
  EXPECT_EQ(Utf8ToWide(""), u"");
  EXPECT_EQ(WideToUtf8(u""), "");
  EXPECT_EQ(WideToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));

  // Invalid input bytes become U+FFFD; valid text around them survives.
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("a\xC3"), u"a\uFFFD");                  // cut off at the end
  EXPECT_EQ(Utf8ToWide("\xE3\x81" "b"), u"\uFFFDb");           // cut off before 'b'
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");          // overlong
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
  EXPECT_EQ(Utf8ToWide("\x80x"), u"\uFFFDx");

  // An unpaired surrogate has no UTF-8 form.
  EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
  EXPECT_EQ(WideToUtf8(u"x" + std::u16string(1, char16_t(0xDC00))), "x?");
}

TEST(TextCodec, LocaleCharset) {
  // The tests run with LC_ALL=C.UTF-8.
  EXPECT_EQ(AnsiCharset(), "UTF-8");
  EXPECT_EQ(WideToAnsi(u"日本語"), "日本語");
  EXPECT_EQ(AnsiToWide("日本語"), u"日本語");
  EXPECT_EQ(AnsiToWide("\xFF"), u"\uFFFD");
  EXPECT_TRUE(AnsiRoundTrips(u"日本語 abc \U0001F600"));
  EXPECT_FALSE(AnsiRoundTrips(std::u16string(1, char16_t(0xDBFF))));
}

TEST(TextCodec, NarrowCharsets) {
  // Characters the set cannot hold become '?', one per character.
  EXPECT_EQ(WideToCharset(u"aé日\U0001F600b", "ISO-8859-1"), "a\xE9??b");
  EXPECT_EQ(CharsetToWide("a\xE9\xFF", "ISO-8859-1"), u"aéÿ");
  EXPECT_EQ(WideToCharset(std::u16string(1, char16_t(0xD800)) + u"q", "ISO-8859-1"), "?q");

  // A multibyte set: round trip, invalid and cut-off input.
  const std::string euc = WideToCharset(u"日本x", "EUC-JP");
  EXPECT_EQ(euc, "\xC6\xFC\xCB\xDC" "x");
  EXPECT_EQ(CharsetToWide(euc, "EUC-JP"), u"日本x");
  EXPECT_EQ(CharsetToWide("a\xFF" "b", "EUC-JP"), u"a\uFFFDb");
  EXPECT_EQ(CharsetToWide("a\xC6", "EUC-JP"), u"a\uFFFD");
  EXPECT_EQ(WideToCharset(u"a\u00E9\u0E01", "EUC-JP").back(), '?');

  // A stateful set returns to its initial state at the end.
  const std::string jis = WideToCharset(u"日a", "ISO-2022-JP");
  EXPECT_EQ(CharsetToWide(jis, "ISO-2022-JP"), u"日a");
  EXPECT_EQ(jis.substr(jis.size() - 1), "a");

  // Converters are reused: the same conversion gives the same answer again.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(WideToCharset(u"é", "ISO-8859-1"), "\xE9");

  // ASCII-only and unknown names convert as UTF-8.
  EXPECT_EQ(WideToCharset(u"é", "ANSI_X3.4-1968"), "\xC3\xA9");
  EXPECT_EQ(CharsetToWide("\xC3\xA9", "no-such-charset"), u"é");
}

TEST(TextCodec, CaseMappingPerUnitWhateverTheCLocale) {
  std::string saved = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C");
  // No single-unit upper case for ß; surrogates map to themselves.
  const char16_t upper[][2] = {{u'a', u'A'}, {u'1', u'1'}, {u'é', u'É'}, {u'я', u'Я'},
                               {u'ß', u'ß'}, {u'ｂ', u'Ｂ'}, {u'日', u'日'}, {0xD801, 0xD801}};
  for (const auto& [from, to] : upper) EXPECT_EQ(WideToUpper(from), to) << int(from);
  EXPECT_EQ(WideToLower(u'Ω'), u'ω');
  EXPECT_EQ(WideToLower(char16_t(0xDC28)), char16_t(0xDC28));
  std::setlocale(LC_CTYPE, saved.c_str());
}
