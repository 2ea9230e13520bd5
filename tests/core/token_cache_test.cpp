// The lexer's per-text token memory: a token read again, from wherever the
// cursor stands, must come back exactly as a fresh scan gives it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "core/lexer.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::TestInterpreter;
using vell::test::Utf8;

struct Read {
  int code;
  std::u16string text;
  int32_t start;
  int32_t cursor;
  bool operator==(const Read&) const = default;
};

// Every token from `from` to the end of the text.
std::vector<Read> ReadAll(Interpreter& interp, ExecContext& ctx, int32_t from) {
  std::vector<Read> out;
  ctx.cursor = from;
  for (int i = 0; i < 1000; ++i) {
    const int t = GetToken(interp, ctx);
    out.push_back({t, std::u16string(ctx.TokenView()), ctx.tokenStart, ctx.cursor});
    if (t == TokEnd || t == TokError) break;
  }
  return out;
}

TEST(TokenCache, TokensReadAgainMatchTheFirstScan) {
  const std::u16string text = u"  abc  \"a\\\"b\\n\" 12.5e+3 0x1F\n" + std::u16string(300, u'n') +
                              u" \"" + std::u16string(260, u's') + u"\" longername9 >= !=  ' c\n} x";
  auto interp = std::make_unique<Interpreter>();
  ExecContext ctx;
  ctx.source = MakeSharedText(text);
  ctx.text = ctx.source->chars.c_str();

  const std::vector<Read> first = ReadAll(*interp, ctx, 0);
  ASSERT_GT(first.size(), 10u);
  EXPECT_EQ(first.back().code, TokEnd);
  EXPECT_EQ(first[0].text, u"ABC");
  EXPECT_EQ(first[0].start, 2);
  EXPECT_EQ(first[1].text, u"a\"b\n");
  EXPECT_EQ(first[5].text.size(), 255u);  // cut, but passed over whole
  EXPECT_EQ(first[5].cursor, 29 + 300);
  EXPECT_EQ(first[6].text.size(), 255u);
  EXPECT_EQ(first[7].text, u"LONGERNAME9");
  EXPECT_EQ(ReadAll(*interp, ctx, 0), first);
  EXPECT_EQ(ReadAll(*interp, ctx, 0), first);
  EXPECT_NE(ctx.source->tokens, nullptr);  // read again: remembered

  // From each token's start, and from the blanks before it.
  for (size_t i = 0; i < first.size(); ++i) {
    ctx.cursor = first[i].start;
    ctx.lexedStart = -1;
    const std::vector<Read> rest = ReadAll(*interp, ctx, first[i].start);
    EXPECT_EQ(rest, std::vector<Read>(first.begin() + long(i), first.end())) << i;
  }
  // A cursor inside a token reads the rest of it as a token of its own, and
  // the whole token is still the whole token afterwards.
  std::vector<Read> inside = ReadAll(*interp, ctx, 3);
  EXPECT_EQ(inside[0].text, u"BC");
  EXPECT_EQ(inside[0].start, 3);
  EXPECT_EQ(ReadAll(*interp, ctx, 0), first);

  // Given back and read again, after the buffer was overwritten.
  ctx.cursor = 0;
  EXPECT_EQ(NextToken(*interp, ctx), TokIdentifier);
  EXPECT_EQ(NextToken(*interp, ctx), TokString);
  UngetToken(ctx);
  ctx.SetToken(u"OTHER");
  EXPECT_EQ(NextToken(*interp, ctx), TokString);
  EXPECT_EQ(ctx.TokenView(), u"a\"b\n");
}

TEST(TokenCache, OnlyTextsReadAgainAreRemembered) {
  auto interp = std::make_unique<Interpreter>();
  const SharedText text = MakeSharedText(u"PRINT 1 + 2, \"abc\"\nX = Y");
  ExecContext once;
  once.source = text;
  once.text = text->chars.c_str();
  const std::vector<Read> first = ReadAll(*interp, once, 0);
  EXPECT_EQ(text->tokens, nullptr);

  // A second context reading the same text (a SUB called again) makes the
  // memory, and both read the same tokens.
  ExecContext again;
  again.source = text;
  again.text = text->chars.c_str();
  EXPECT_EQ(ReadAll(*interp, again, 0), first);
  EXPECT_NE(text->tokens, nullptr);
  EXPECT_EQ(ReadAll(*interp, again, 0), first);
  EXPECT_EQ(ReadAll(*interp, once, 0), first);
}

TEST(TokenCache, ScanErrorsAreRaisedEveryTime) {
  auto interp = std::make_unique<Interpreter>();
  ExecContext ctx;
  ctx.source = MakeSharedText(u"A \"open");
  ctx.text = ctx.source->chars.c_str();
  for (int round = 0; round < 2; ++round) {
    interp->runState = 0;
    ctx.cursor = 0;
    EXPECT_EQ(GetToken(*interp, ctx), TokIdentifier);
    EXPECT_EQ(GetToken(*interp, ctx), TokError);
    EXPECT_EQ(interp->runState, ErrorSyntax);
    EXPECT_EQ(ctx.cursor, 2);
  }
}

// Built-ins for the lookup test: QQ answers 7; ADDQ registers it and DROPQ
// takes it out of the table again.
HandlerResult Seven(Interpreter&, ExecContext& ctx) {
  ctx.value = 7;
  return ResultDone;
}
HandlerResult AddQ(Interpreter& interp, ExecContext& ctx) {
  RegisterBuiltin(interp, u"qq", Seven);
  ctx.value = 0;
  return ResultDone;
}
HandlerResult DropQ(Interpreter& interp, ExecContext& ctx) {
  interp.builtins.erase(u"QQ");
  ctx.value = 0;
  return ResultDone;
}

TEST(TokenCache, ErrorsAndNamesInsideLoopsReadFromMemory) {
  TestInterpreter t;
  // The failing name is read from memory on the third pass; line and token
  // are those of the text.
  EXPECT_EQ(t.Run(u"GLOBAL i\nFOR i = 0, i < 3, i = i + 1 {\n  IF i == 2 { PRINT NOSUCHNAME_LONGER }\n"
                  u"  PRINT i, \"" + std::u16string(300, u'x') + u"\" }"),
            u"0" + std::u16string(255, u'x') + u"1" + std::u16string(255, u'x') +
                u"[MSG]\n 3 NOSUCHNAME_LONGER: undefined error");

  // A name that became a built-in, or stopped being one, while the loop ran.
  RegisterBuiltin(t.interp(), u"ADDQ", AddQ);
  RegisterBuiltin(t.interp(), u"DROPQ", DropQ);
  EXPECT_EQ(t.Run(u"GLOBAL QQ, i\nQQ = 5\nFOR i = 0, i < 4, i = i + 1 {\n  PRINT QQ\n"
                  u"  IF i == 0 { ADDQ }\n  IF i == 1 { DROPQ }\n}"),
            u"5755");
}

}  // namespace
