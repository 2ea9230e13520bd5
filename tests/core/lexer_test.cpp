#include "core/lexer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::Utf8;

struct Lexed {
  std::unique_ptr<Interpreter> interp = std::make_unique<Interpreter>();
  ExecContext ctx;
  explicit Lexed(std::u16string_view text) {
    ctx.source = MakeSharedText(text);
    ctx.text = ctx.source->chars.c_str();
  }
  // Every token up to the end as "code:text" items.
  std::string All() {
    std::string out;
    for (int i = 0; i < 1000; ++i) {
      const int t = GetToken(*interp, ctx);
      if (!out.empty()) out += ' ';
      out += std::to_string(t);
      if (ctx.tokenLength > 0) out += ":" + Utf8(ctx.TokenView());
      if (t == TokEnd || t == TokError) break;
    }
    return out;
  }
};

std::string Tokens(std::u16string_view text) { return Lexed(text).All(); }

TEST(Lexer, OperatorsNumbersAndNames) {
  EXPECT_EQ(Tokens(u"a=b"), Tokens(u"a = b"));
  EXPECT_EQ(Tokens(u"a==b"), "34:A 6 34:B 2");
  EXPECT_EQ(Tokens(u"x-1"), "34:X 11 29:1 2");
  EXPECT_EQ(Tokens(u"1e-1-1"), "29:1e-1 11 29:1 2");
  EXPECT_EQ(Tokens(u".5 1.2.3"), "26 29:5 29:1.2 26 29:3 2");
  EXPECT_EQ(Tokens(u">= <= != > < { } [ ] ( ) , * /"),
            "7 8 9 15 16 4 5 21 22 19 20 18 12 13 2");
  EXPECT_EQ(Tokens(u"print Print and Or oR_ #subclear $a_1"),
            "34:PRINT 34:PRINT 27:AND 28:OR 34:OR_ 34:#SUBCLEAR 34:$A_1 2");
  EXPECT_EQ(Tokens(u"0x1F 0Xab 0x 0xG"), "32:0x1F 32:0Xab 32:0x 32:0x 34:G 2");
  EXPECT_EQ(Tokens(u"a\r\n\tb"), "34:A 3 34:B 2");
}

TEST(Lexer, StringLiterals) {
  EXPECT_EQ(Tokens(u"\"abc\\x\""), "33:abcx 2");
  EXPECT_EQ(Tokens(u"\"a\\\\b\""), "33:a\\b 2");
  EXPECT_EQ(Tokens(u"\"\\\"\""), "33:\" 2");
  EXPECT_EQ(Tokens(u"\"a\\nb\\r\\f\""), "33:a\nb\r\f 2");
  EXPECT_EQ(Tokens(u"\"\""), "33 2");

  // Unterminated: a syntax error at the opening quote, nothing read past the end.
  Lexed open(u"x \"abc");
  EXPECT_EQ(open.All(), "34:X 1");
  EXPECT_EQ(open.interp->runState, ErrorSyntax);
  EXPECT_EQ(open.ctx.cursor, 2);
  Lexed backslash(u"\"abc\\");
  EXPECT_EQ(backslash.All(), "1");
  EXPECT_EQ(backslash.interp->runState, ErrorSyntax);
}

TEST(Lexer, CharactersThatBeginNoToken) {
  for (std::u16string_view text : {u"!", u";", u"\u3000", u"\uFF21", u"\x01"}) {
    Lexed l(text);
    EXPECT_EQ(GetToken(*l.interp, l.ctx), TokError) << Utf8(text);
    EXPECT_EQ(l.interp->runState, ErrorUndefined);
    EXPECT_EQ(l.ctx.cursor, 0);
    EXPECT_EQ(l.ctx.tokenLength, 0);
  }
}

// A NUL before the text's end begins no token, as any such character: it is
// an undefined error where it stands, in a literal too; a comment holds it.
TEST(Lexer, NulInsideTheText) {
  using namespace std::string_view_literals;
  EXPECT_EQ(Tokens(u"a\0b"sv), "34:A 1");
  for (std::u16string_view text : {u"x \"a\0b\""sv, u"x \"a\\\0\""sv, u"x \0"sv}) {
    Lexed l(text);
    EXPECT_EQ(l.All(), "34:X 1") << Utf8(text);
    EXPECT_EQ(l.interp->runState, ErrorUndefined);
    EXPECT_EQ(text[size_t(l.ctx.cursor)], 0);
  }
  // Passing over a block or a line treats it as any other character.
  Lexed block(u"{ a \0 } b"sv);
  EXPECT_EQ(SkipStatement(*block.interp, block.ctx), ResultFailed);
  EXPECT_EQ(block.interp->runState, ErrorUnbalanced);
  Lexed line(u"rest \0 of the line\nb"sv);
  EXPECT_EQ(SkipLine(line.ctx), TokNewline);
  EXPECT_EQ(line.All(), "34:B 2");
}

TEST(Lexer, LongTokensAreCutButPassedOverWhole) {
  const std::u16string name(300, u'a');
  Lexed l(name + u" 7");
  EXPECT_EQ(GetToken(*l.interp, l.ctx), TokIdentifier);
  EXPECT_EQ(l.ctx.tokenLength, 255);
  EXPECT_EQ(l.ctx.token[255], 0);
  EXPECT_EQ(l.ctx.token[0], u'A');
  EXPECT_EQ(l.ctx.cursor, 300);
  EXPECT_EQ(GetToken(*l.interp, l.ctx), TokNumber);

  Lexed s(u"\"" + std::u16string(400, u'q') + u"\" 7");
  EXPECT_EQ(GetToken(*s.interp, s.ctx), TokString);
  EXPECT_EQ(s.ctx.tokenLength, 255);
  EXPECT_EQ(s.ctx.cursor, 402);

  Lexed n(std::u16string(300, u'9') + u"+");
  EXPECT_EQ(GetToken(*n.interp, n.ctx), TokNumber);
  EXPECT_EQ(n.ctx.tokenLength, 255);
  EXPECT_EQ(GetToken(*n.interp, n.ctx), TokPlus);
}

TEST(Lexer, EndNewlinesCommentsAndPushBack) {
  Lexed l(u"A ' comment { \n\n  B");
  EXPECT_EQ(NextToken(*l.interp, l.ctx), TokIdentifier);
  EXPECT_EQ(NextToken(*l.interp, l.ctx), TokIdentifier);
  EXPECT_EQ(l.ctx.TokenView(), u"B");
  UngetToken(l.ctx);
  EXPECT_EQ(l.ctx.cursor, 18);  // the start of B, not the newline
  EXPECT_EQ(NextToken(*l.interp, l.ctx), TokIdentifier);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GetToken(*l.interp, l.ctx), TokEnd);

  Lexed line(u"rest of line\nNEXT");
  EXPECT_EQ(SkipLine(line.ctx), TokNewline);
  EXPECT_EQ(line.ctx.TokenView(), u"\n");
  EXPECT_EQ(SkipLine(line.ctx), TokEnd);
  EXPECT_EQ(line.ctx.tokenLength, 0);
}

TEST(Lexer, PassingOver) {
  Lexed block(u"{ A { \"}\" } ' }\n } NEXT");
  EXPECT_EQ(SkipStatement(*block.interp, block.ctx), ResultDone);
  EXPECT_EQ(NextToken(*block.interp, block.ctx), TokIdentifier);
  EXPECT_EQ(block.ctx.TokenView(), u"NEXT");

  Lexed one(u"PRINT 1");
  EXPECT_EQ(SkipStatement(*one.interp, one.ctx), ResultDone);

  Lexed unclosed(u"{ { }");
  EXPECT_EQ(SkipStatement(*unclosed.interp, unclosed.ctx), ResultFailed);
  EXPECT_EQ(unclosed.interp->runState, ErrorUnbalanced);
  Lexed bad(u"{ ; }");
  EXPECT_EQ(SkipStatement(*bad.interp, bad.ctx), ResultFailed);
  EXPECT_EQ(bad.interp->runState, ErrorUnbalanced);
}

TEST(Lexer, ScanToToken) {
  Lexed l(u"F(1, 2), B, C { X");
  EXPECT_EQ(ScanToToken(*l.interp, l.ctx, TokComma), TokComma);
  EXPECT_EQ(NextToken(*l.interp, l.ctx), TokIdentifier);
  EXPECT_EQ(l.ctx.TokenView(), u"B");
  EXPECT_EQ(ScanToToken(*l.interp, l.ctx, TokBlockOpen), TokBlockOpen);
  EXPECT_EQ(ScanToToken(*l.interp, l.ctx, TokComma), TokError);
  EXPECT_EQ(l.interp->runState, ErrorSyntax);
}

}  // namespace
