// The functions as programs call them: argument counts, errors, RND after a
// known seed, and text outside the Basic Multilingual Plane.
#include <gtest/gtest.h>

#include <string>

#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "platform/text_codec.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell {
namespace {

using test::TestInterpreter;
using test::Utf8;

class Functions : public ::testing::Test {
 protected:
  Functions() { RegisterLibraryBuiltins(t.interp()); }

  // Runs a program and returns its output with its messages, as UTF-8.
  std::string Run(const std::u16string& program) { return Utf8(t.Run(program)); }

  TestInterpreter t;
};

TEST_F(Functions, WrongArgumentCountsAreSystemErrors) {
  const char16_t* calls[] = {
      u"POW(2)",          u"MOD(7)",
      u"ROUND(2.5)",      u"DATE(2000, 1)",
      u"DATE(2000)",      u"TIME(1, 2)",
      u"TIME(1)",         u"CLOCK(0)",
      u"MID(\"abc\", 1)", u"MID(\"abc\")",
      u"LEFT(\"abc\")",   u"RIGHT(\"abc\")",
      u"INSTR(\"abc\")",  u"REPLACE(\"a\", \"b\")",
      u"REPLACE(\"a\")",
  };
  for (const char16_t* call : calls) {
    const std::u16string program = std::u16string(u"PRINT 1\nPRINT ") + call + u"\nPRINT 2";
    EXPECT_EQ(Run(program), "1[MSG]\n 2 : system error\n") << Utf8(call);
    EXPECT_EQ(t.interp().runState, 0) << Utf8(call);
  }
  // Without parentheses the list ends at the next line's first token, which
  // the message then shows.
  EXPECT_EQ(Run(u"PRINT POW 2\nPRINT 2"), "[MSG]\n 2 PRINT: system error\n");
}

TEST_F(Functions, ACommaAfterTheLastArgumentIsASyntaxError) {
  const char16_t* names[] = {u"RND",    u"INT",    u"ABS",   u"SGN",   u"EXP",  u"POW",  u"LOG",
                             u"SQR",    u"SIN",    u"COS",   u"TAN",   u"ATAN", u"MOD",  u"ROUND",
                             u"DATE",   u"TIME",   u"YEAR",  u"MONTH", u"DAY",  u"WEEK", u"HOUR",
                             u"MINUTE", u"SECOND", u"CLOCK", u"LEN",   u"MID",  u"LEFT", u"RIGHT",
                             u"LOWER",  u"UPPER",  u"STR",   u"VAL",   u"ASC",  u"CHR",  u"HEX",
                             u"INSTR",  u"REPLACE"};
  for (const char16_t* name : names) {
    EXPECT_EQ(Run(std::u16string(u"PRINT ") + name + u"(1, 2, 3, 4)"), "[MSG]\n 1 : syntax error")
        << Utf8(name);
    // An empty pair of parentheses is no empty list: ) starts no expression.
    EXPECT_EQ(Run(std::u16string(u"PRINT ") + name + u"()"), "[MSG]\n 1 : syntax error")
        << Utf8(name);
  }
  // INSTR takes two or three.
  EXPECT_EQ(Run(u"PRINT INSTR(\"abcb\", \"b\"), INSTR(\"abcb\", \"b\", 2)"), "13");
}

TEST_F(Functions, AFailingArgumentKeepsItsOwnError) {
  EXPECT_EQ(Run(u"PRINT MID(\"abc\", 1 / 0, 1)"), "[MSG]\n 1: arithmetic error");
  EXPECT_EQ(Run(u"PRINT LEN(NOSUCHNAME)"), "[MSG]\n 1 NOSUCHNAME: undefined error");
}

// Dates no calendar holds, times beyond the day and LOG outside its domain.
TEST_F(Functions, InvalidArgumentsAreArithmeticErrors) {
  const char16_t* calls[] = {u"DATE(1900, 2, 29)", u"DATE(0, 1, 1)",  u"DATE(10000, 1, 1)",
                             u"DATE(2000, 13, 1)", u"DATE(2000, 0, 1)", u"DATE(2000, 1, 0)",
                             u"DATE(2000, 4, 31)", u"DATE(-1, 1, 1)",  u"TIME(0, 60, 0)",
                             u"TIME(0, 0, 60)",    u"TIME(-1, 0, 0)",  u"LOG(-1)",
                             u"LOG(\"\")",         u"LOG(SQR(-1))"};
  for (const char16_t* call : calls) {
    EXPECT_EQ(Run(std::u16string(u"PRINT ") + call), "[MSG]\n 1: arithmetic error") << Utf8(call);
  }
}

// Expected values worked out by tests/library/rnd_sequence.py.
TEST_F(Functions, RndFollowsTheSeedSavedByTheLastRun) {
  t.interp().seed = 777;
  EXPECT_EQ(Run(u"PRINT RND(10), RND(10), RND(10)"), "192");
  EXPECT_EQ(t.interp().seed, 29386);
  t.interp().seed = 777;
  EXPECT_EQ(Run(u"PRINT RND(10), RND(10), RND(10)"), "192");
  // 0 draws nothing; 1 draws and gives 0.
  t.interp().seed = 777;
  EXPECT_EQ(Run(u"PRINT RND(0), RND(1), RND(10), RND(10)"), "0092");
}

TEST_F(Functions, AscGivesTheFirstCharactersCodeInTheLocalesCharset) {
  if (text::AnsiCharset() == "UTF-8") {
    EXPECT_EQ(Run(u"PRINT ASC(\"é\"), \" \", ASC(\"あい\"), \" \", ASC(\"😀\")"),
              "50089 14909826 -257976192");
  }
}

// A replacement that would make a text larger than any value may hold fails
// as out of memory before it allocates anything.
TEST_F(Functions, ReplaceThatOutgrowsEveryValueIsOutOfMemory) {
  Run(u"DIM S, I\nS = \"a\"\nFOR (I = 0, I < 15, I = I + 1) { S = S + S }\n"
      u"PRINT LEN(S)\nS = REPLACE(S, \"a\", S)\nPRINT \"after\"");
  EXPECT_EQ(Utf8(t.host.Output()), "32768");
  ASSERT_EQ(t.host.warnings.size(), 1u);
  EXPECT_EQ(Utf8(t.host.warnings[0]), "cannot allocate memory ");
}

}  // namespace
}  // namespace vell
