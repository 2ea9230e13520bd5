// What the interpreter remembers about a text it reads again must change
// nothing a program sees: each program here runs its loops and SUBs often
// enough for the remembered forms to take over, and must print exactly what
// the reference mode (the plain path) prints, messages with their line and
// token included.
#include <gtest/gtest.h>

#include <string>

#include "components/keywords/component_keywords.h"
#include "core/interpreter_state.h"
#include "core/stack_check.h"
#include "library/library_builtins.h"
#include "tests/support/recording_host.h"
#include "tests/support/reference_scope.h"

using namespace vell;

namespace {

using vell::test::ReferenceScope;
using vell::test::TestInterpreter;
using vell::test::Utf8;

// Runs the program with and without the reference mode, expects the same
// output from both, and returns it. With `components`, SET and the other
// component keywords are there too.
std::u16string RunBothWays(std::u16string_view program, bool components = false) {
  std::u16string outputs[2];
  for (const bool reference : {true, false}) {
    ReferenceScope mode(reference);
    TestInterpreter t;
    RegisterLibraryBuiltins(t.interp());
    if (components) RegisterComponentKeywords(t.interp());
    outputs[reference ? 0 : 1] = t.Run(program);
  }
  EXPECT_EQ(Utf8(outputs[1]), Utf8(outputs[0])) << Utf8(program);
  return outputs[1];
}

TEST(RememberedForms, FailuresShowThePlainPathsLineAndToken) {
  // A divisor that reaches 0 on the fourth pass: the message's line is where
  // the plain path stands after the divisor, not where the statement ends.
  EXPECT_EQ(RunBothWays(u"DIM I, X\n"
                        u"FOR I = 0, I < 5, I = I + 1 {\n"
                        u"  X = 1 +\n"
                        u"      2 / (I - 3) * 4\n"
                        u"  PRINT X, \" \"\n"
                        u"}"),
            u"-1.66666666666667 -3 -7 [MSG]\n 4: arithmetic error");
  // In an index, in an argument, and on the right of an assignment.
  EXPECT_EQ(RunBothWays(u"SUB F(A, B) { RETURN (A + B) }\n"
                        u"DIM I, A\n"
                        u"FOR I = 0, I < 4, I = I + 1 { A[I] = 1 }\n"
                        u"FOR I = 0, I < 4, I = I + 1 { PRINT A[6 / (2 - I)], \" \" }"),
            u"1  [MSG]\n 4: arithmetic error");
  EXPECT_EQ(RunBothWays(u"SUB F(A, B) { RETURN (A + B) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 { PRINT F(I,\n 1 / (I - 2)), \" \" }"),
            u"-0.5 0 [MSG]\n 4: arithmetic error");
  // A name that no scope holds any more: the SUB reads its caller's local,
  // which the main text does not have.
  EXPECT_EQ(RunBothWays(u"SUB S(X) { RETURN (X + Y) }\n"
                        u"SUB T(A) { DIM Y\n Y = A\n RETURN (S(A)) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 5, I = I + 1 { IF I < 3 { PRINT T(I), \" \" } ELSE { PRINT S(I) } }"),
            u"0 2 4 [MSG]\nS 1 Y: undefined error");
  // After NEW the loop's own counter is gone.
  EXPECT_EQ(RunBothWays(u"GLOBAL I\nFOR I = 0, I < 5, I = I + 1 { IF I == 2 { NEW } PRINT I }"),
            u"01[MSG]\n 2 I: undefined error");
}

// A chain whose first operator has two reals is worked out from the
// variables themselves; any other first operand goes the general way.
TEST(RememberedForms, FirstOperatorOfTwoReals) {
  // Variables on both sides, the divisor reaching 0 on the third pass.
  EXPECT_EQ(RunBothWays(u"DIM I, X, Y\nX = 6\nY = 2\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  PRINT X / Y, \" \", X < Y, \" \", (Y >= X) + 0.5, \" \"\n"
                        u"  Y = Y - 1\n"
                        u"}"),
            u"3 0 0.5 6 0 0.5 [MSG]\n 5: arithmetic error");
  // The right operand a text, a call or an element; the head a text or a
  // number in turn: the same value as the plain path gives, every pass.
  EXPECT_EQ(RunBothWays(u"SUB F(A) { RETURN (A * 2) }\n"
                        u"DIM I, X, S, A\nS = \"ab\"\nA[0] = 4\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  IF I == 2 { X = \"7\" } ELSE { X = I + 0.5 }\n"
                        u"  PRINT X + S, \" \", X - F(I), \" \", X * A[0], \" \", X + 1 - I, \"|\"\n"
                        u"}"),
            u"0.5 0.5 2 1.5|1.5 -0.5 6 1.5|7ab 3 28 6|3.5 -2.5 14 1.5|");
}

TEST(RememberedForms, NamesThatChangeMeaningBetweenPasses) {
  // N is a SUB in the main text's scope and V's parameter in V's: U, which
  // declares nothing, reads whichever its caller has.
  EXPECT_EQ(RunBothWays(u"SUB N { RETURN (10) }\n"
                        u"SUB U { RETURN (N * 2) }\n"
                        u"SUB V(N) { RETURN (U) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 { PRINT U, \" \", V(I), \" \" }"),
            u"20 0 20 2 20 4 20 6 ");
  // A SUB assigned to is a variable from then on: its argument list is no
  // argument list any more, and the statement ends before it.
  EXPECT_EQ(RunBothWays(u"SUB F(A) { RETURN (A + 1) }\n"
                        u"DIM I, X\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  IF I == 2 { F = 7 }\n"
                        u"  X = F(I)\n"
                        u"  PRINT X, \" \"\n"
                        u"}"),
            u"1 2 [MSG]\n 5 : syntax error");
  // The same where the argument list stands in an argument, an index or
  // parentheses: the plain path reads on from the list.
  const std::u16string changing = u"SUB F(A) { RETURN (A + 1) }\n"
                                  u"SUB G(A, B) { RETURN (A * B) }\n"
                                  u"DIM I, A\nA[1] = 5\n"
                                  u"FOR I = 0, I < 4, I = I + 1 {\n"
                                  u"  IF I == 2 { F = 1 }\n";
  EXPECT_EQ(RunBothWays(changing + u"  PRINT G(2, F(I)), \" \"\n}"),
            u"2 4 [MSG]\n 7 : undefined error");
  EXPECT_EQ(RunBothWays(changing + u"  PRINT A[F(I) - 1], \" \"\n}"), u" 5 [MSG]\n 7 : syntax error");
  EXPECT_EQ(RunBothWays(changing + u"  PRINT (F(I)), \" \"\n}"),
            u"1 2 [MSG]\n 7: unbalanced parentheses");
  // A SUB defined again while a loop calls it, and one that defines itself
  // again while it runs.
  EXPECT_EQ(RunBothWays(u"SUB F { RETURN (1) }\n"
                        u"SUB G { SUB G { RETURN (3) } RETURN (2) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  PRINT F, G, \" \"\n"
                        u"  IF I == 1 { SUB F { RETURN (5) } }\n"
                        u"}"),
            u"12 13 53 53 ");
  // Built-ins in the middle of an expression, of an index and of an argument.
  EXPECT_EQ(RunBothWays(u"SUB F(A) { RETURN (A * 10) }\n"
                        u"DIM I, S, A\n"
                        u"S = \"\"\n"
                        u"A[3] = 7\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  S = S + \"x\"\n"
                        u"  PRINT 1 + LEN(S) * 2 + A[LEN(S)] - F(LEN(S) + 1), \" \"\n"
                        u"}"),
            u"-17 -25 -26 -41 ");
}

TEST(RememberedForms, ExpressionsGoOnAfterABuiltinsArgumentList) {
  // After the ) the rest of the expression, the IF and the appending
  // assignment run from their forms; a list without parentheses, a built-in
  // that runs text (which here defines a SUB read right after it) and a
  // failure inside an argument list as the plain path has them.
  EXPECT_EQ(RunBothWays(u"SUB F { RETURN (1) }\n"
                        u"SUB R { SUB F { RETURN (7) } RETURN (2) }\n"
                        u"DIM I, T, S\n"
                        u"T = \"abcdef\"\n"
                        u"S = \"\"\n"
                        u"FOR I = 0, I < 5, I = I + 1 {\n"
                        u"  IF MID(T, I, 1) == \"c\" { PRINT \"c\" } ELSEIF LEN T + I == 9 { PRINT \"n\" }\n"
                        u"  S = S + MID(T, I, 2) + \"|\"\n"
                        u"  PRINT CALC(\"F + I\") + F, \" \"\n"
                        u"  IF I == 2 { PRINT CALLSUB(\"R\") + F, \" \" }\n"
                        u"  PRINT LEN(T) * 2 + INSTR(T, MID(T, I, 1)), \" \"\n"
                        u"}\n"
                        u"PRINT S, \"\\n\"\n"
                        u"FOR I = 0, I < 5, I = I + 1 { PRINT MID(T, 6 / (2 - I), 1) + \"x\" }"),
            u"n2 12 n3 13 c4 9 14 n17 15 n18 16 ab|bc|cd|de|ef|\ndxx[MSG]\n 14: arithmetic error");
  // Arguments read from the forms, over lines, nested, and one whose SUB
  // stops being one: the plain path reads that list on from there.
  EXPECT_EQ(RunBothWays(u"SUB F(A) { RETURN (A + 1) }\n"
                        u"DIM I, T\n"
                        u"T = \"abcdefgh\"\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  PRINT MID(T, F(I), 2) + LEFT(MID(T, I, 3), 2) + MID(T,\n"
                        u"     I * 2, 1), \" \"\n"
                        u"  IF I == 2 { F = 1 }\n"
                        u"}"),
            u"bcaba cdbcc decde [MSG]\n 5 : system error\n");
}

// Arguments that are a number or a variable alone go straight into the
// built-in's slots; what follows them, and what fails after them, is as the
// plain path has it.
TEST(RememberedForms, ArgumentsReadStraightIntoTheirSlots) {
  // Locals of a recursive SUB, then an argument evaluated after straight
  // ones and before one, and one that fails after two straight ones.
  EXPECT_EQ(RunBothWays(u"SUB G(S, K) {\n"
                        u"  IF K > 0 { RETURN (MID(S, K, 1) + G(S, K - 1)) }\n"
                        u"  RETURN (MID(S, K, 1))\n"
                        u"}\n"
                        u"DIM I, T\n"
                        u"T = \"abcdef\"\n"
                        u"FOR I = 0, I < 5, I = I + 1 {\n"
                        u"  PRINT G(T, I), MID(T, I - 1 + 1, I), INSTR(T, MID(T, I, 1), I), \" \"\n"
                        u"  PRINT MID(T, I,\n 2 / (3 - I)), \" \"\n"
                        u"}"),
            u"a0  bab1 b cbacd2 cd dcbadef3 [MSG]\n 10: arithmetic error");
  // A straight argument whose name is gone after NEW, and one that names
  // an array's element of a name that was a variable.
  EXPECT_EQ(RunBothWays(u"GLOBAL I, T\nT = \"xyz\"\n"
                        u"FOR I = 0, I < 3, I = I + 1 {\n"
                        u"  IF I == 2 { NEW\n GLOBAL I\n I = 2 }\n"
                        u"  PRINT LEFT(T, I), \"|\"\n"
                        u"}"),
            u"|x|[MSG]\n 7 T: undefined error");
  EXPECT_EQ(RunBothWays(u"DIM I, T, N\nT = \"xyz\"\nN = 2\n"
                        u"FOR I = 0, I < 4, I = I + 1 { PRINT RIGHT(T, N), \"|\"\n"
                        u"  IF I == 1 { N[1] = 1 } }"),
            u"yz|yz|yz|yz|");
}

TEST(RememberedForms, BranchesPassedOverKeepTheChainGoing) {
  // Once a branch's block has been passed over, a false condition goes
  // straight past it: ELSEIF and ELSE still follow what was taken, an ELSEIF
  // after a taken branch still evaluates its condition (the SUB prints), a
  // real condition counts by its integer part.
  EXPECT_EQ(RunBothWays(u"SUB T(N) {\n  PRINT \"t\", N\n  RETURN (N == 3)\n}\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 6, I = I + 1 {\n"
                        u"  IF I * 0.4 { PRINT \"a\" } ELSEIF T(I) { PRINT \"b\" }\n"
                        u"  ELSEIF I == 0 { PRINT \"z\" }\n"
                        u"  ELSE { PRINT \"e\" }\n"
                        u"  PRINT \" \"\n"
                        u"}"),
            u"t0z t1e t2e at3 at4 at5 ");
  // A SUB's value is that of its last statement: here a condition that
  // did not hold, as an integer. A failing condition shows its own line.
  EXPECT_EQ(RunBothWays(u"SUB G(N) { IF N / 2 { PRINT \"g\" } }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 { PRINT G(I), \" \" }\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  IF I == 9 { } ELSEIF\n"
                        u"    1 / (I - 2) < 0 { PRINT \"n\" }\n"
                        u"}"),
            u"0 0 gg gg nn[MSG]\n 6: arithmetic error");
}

TEST(RememberedForms, ChainsAfterATakenBranchAndElseApart) {
  // After a taken branch every ELSEIF still evaluates its condition (the SUB
  // prints) and passes over its block whether or not the condition holds;
  // an ELSE belongs to the chain across the statements between them.
  EXPECT_EQ(RunBothWays(u"SUB T(N) {\n  PRINT \"t\"\n  RETURN (N)\n}\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  IF I < 2 { PRINT \"a\" } ELSEIF T(1) { PRINT \"b\" }\n"
                        u"  ELSEIF T(I - 3) { PRINT \"c\" }\n"
                        u"  PRINT I\n"
                        u"  ELSE { PRINT \"e\" }\n"
                        u"  PRINT \" \"\n"
                        u"}"),
            u"att0 att1 tbt2 tbt3 ");
}

TEST(RememberedForms, PointsRestoredManyTimesShowTheirTokens) {
  // The same reading points restored pass after pass (the first token of a
  // statement, a token given back after RETURN, long names kept apart from
  // their slots) until a late pass fails there; an ELSE alone in a block
  // takes the block's } as its statement.
  EXPECT_EQ(RunBothWays(u"SUB S(N) { IF N > 2 { RETURN }\n  RETURN N }\n"
                        u"DIM I, AVERYLONGVARIABLENAME\n"
                        u"FOR I = 0, I < 6, I = I + 1 {\n"
                        u"  AVERYLONGVARIABLENAME = S(I)\n"
                        u"  PRINT AVERYLONGVARIABLENAME, \" \"\n"
                        u"  IF I == 4 { AVERYLONGVARIABLENAME = NOTDECLAREDANYWHERE }\n"
                        u"}"),
            u"0 0 0 1 1 [MSG]\n 7 NOTDECLAREDANYWHERE: undefined error");
  EXPECT_EQ(RunBothWays(u"DIM I, J\n"
                        u"FOR I = 0, I < 5, I = I + 1 {\n"
                        u"  J = I\n"
                        u"  IF I > 3 { ELSE }\n"
                        u"  PRINT J\n"
                        u"}"),
            u"01234[MSG]\n 6: unbalanced parentheses");
}

TEST(RememberedForms, PairsOfOperandsKeepTheirKindsAndFailures) {
  // One operator between two variables or numbers: reals, integers and
  // texts each as the evaluator takes them, a text compared in its own
  // kind, and a divisor read from a variable that reaches 0.
  EXPECT_EQ(RunBothWays(u"DIM I, A, B\n"
                        u"FOR I = 0, I < 6, I = I + 1 {\n"
                        u"  A = I\n"
                        u"  IF I == 2 { A = \"2\" } ELSEIF I == 3 { A = \"x\" }\n"
                        u"  B = A + 1\n"
                        u"  IF A < 3 { PRINT \"<\" } ELSE { PRINT \">\" }\n"
                        u"  PRINT B, \" \", A == 2, \" \"\n"
                        u"}\n"
                        u"FOR I = 3, I > -1, I = I - 1 { B = 6\n"
                        u"  PRINT B / I, \" \" }"),
            u"<1 0 <2 0 <3 1 <1 0 >5 0 >6 0 2 3 6 [MSG]\n 10: arithmetic error");
}

TEST(RememberedForms, ScopesFollowTheRunningTexts) {
  // A local shadows the global of its name in its SUB and in the SUBs it
  // calls, at every depth; the global shows again when they have ended.
  EXPECT_EQ(RunBothWays(u"GLOBAL X\nX = 1\n"
                        u"SUB S { RETURN (X) }\n"
                        u"SUB R(N) {\n"
                        u"  DIM X\n"
                        u"  X = N * 10\n"
                        u"  IF N > 0 { R(N - 1) }\n"
                        u"  PRINT X, S, \" \"\n"
                        u"}\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 3, I = I + 1 { R(2) PRINT S, \"|\" }"),
            u"00 1010 2020 1|00 1010 2020 1|00 1010 2020 1|");
  // DIM in a loop fails on its second pass, in the SUB's frame only.
  EXPECT_EQ(RunBothWays(u"SUB F { DIM A\n A = 1\n RETURN (A) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 3, I = I + 1 { PRINT F }\n"
                        u"WHILE 1 { DIM B }"),
            u"111[MSG]\n 6 B: undefined error");
}

TEST(RememberedForms, CallersLocalsFollowTheFramesBetween) {
  // R reads X in a loop: the main text's local, A's or C's, called from them
  // at different depths, with the same X (the main text's) below a nearer one.
  const std::u16string subs = u"SUB R(D) {\n"
                              u"  DIM I, S\n  S = 0\n"
                              u"  FOR I = 0, I < 3, I = I + 1 { S = S + X }\n"
                              u"  IF D > 0 { RETURN (S + R(D - 1)) }\n"
                              u"  RETURN (S)\n}\n"
                              u"SUB A { DIM X\n X = 1\n RETURN (R(2)) }\n"
                              u"SUB B { DIM Y\n Y = 2\n RETURN (R(1)) }\n"
                              u"SUB C { DIM X, Z\n X = 5\n RETURN (A + R(0) + B) }\n";
  const std::u16string loop =
      u"FOR K = 0, K < 3, K = K + 1 { PRINT R(1), \" \", A, \" \", B, \" \", C, \"|\" }";
  EXPECT_EQ(RunBothWays(u"DIM K, X\nX = 100\n" + subs + loop),
            u"600 9 600 54|600 9 600 54|600 9 600 54|");
  EXPECT_EQ(RunBothWays(u"GLOBAL X\nX = 100\n" + subs + u"DIM K\n" + loop),
            u"600 9 600 54|600 9 600 54|600 9 600 54|");
  // Another caller's frame in the place of the one that has ended, holding
  // the same name at the same place, or another name there.
  EXPECT_EQ(RunBothWays(u"SUB Q { RETURN (W) }\n"
                        u"SUB P1 { DIM W\n W = 1\n RETURN (Q) }\n"
                        u"SUB P2 { DIM W\n W = 2\n RETURN (Q) }\n"
                        u"SUB P3 { DIM V\n V = 3\n RETURN (Q) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 3, I = I + 1 { PRINT P1, P2, \" \" }\n"
                        u"PRINT P3"),
            u"12 12 12 [MSG]\nQ 1 W: undefined error");
}

TEST(RememberedForms, CallersLocalsAfterChangesOfNames) {
  // The main text declares its own X after the SUB has read the global.
  EXPECT_EQ(RunBothWays(u"GLOBAL X\nX = 100\n"
                        u"SUB Q { RETURN (X) }\n"
                        u"DIM I\n"
                        u"FOR I = 0, I < 4, I = I + 1 {\n"
                        u"  PRINT Q, \" \"\n"
                        u"  IF I == 1 { DIM X\n X = 7 }\n"
                        u"}"),
            u"100 100 7 7 ");
  // The SUB defined again to read another name, the caller's local stored
  // whole, and the SUBs cleared while the loop runs.
  EXPECT_EQ(RunBothWays(u"SUB Q { RETURN (W[1]) }\n"
                        u"SUB P(N) {\n"
                        u"  DIM W, V, J\n  W[1] = N\n  V[1] = N * 10\n"
                        u"  FOR J = 0, J < 3, J = J + 1 {\n"
                        u"    PRINT Q, \" \"\n"
                        u"    IF J == 0 { SET W = V }\n"
                        u"    IF N * 10 + J == 21 { SUB Q { RETURN (V[1] + 1) } }\n"
                        u"  }\n"
                        u"}\n"
                        u"DIM I\n"
                        u"FOR I = 1, I < 4, I = I + 1 { P(I) }\n"
                        u"#SUBCLEAR\nP(4)",
                        true),
            u"1 10 10 2 20 21 31 31 31 [MSG]\n 15 P: undefined error");
}

TEST(RememberedForms, TextsNestEquallyDeepInBothModes) {
  for (const bool reference : {true, false}) {
    ReferenceScope mode(reference);
    TestInterpreter t;
    EXPECT_EQ(t.Run(u"GLOBAL D\nD = 0\nSUB F {\n D = D + 1\n F\n}\nF"),
              u"[MSG]\nF 4 : area overflow");
    // The main text is the first of them.
    const std::string depth = std::to_string(kMaxTextNesting - 1);
    EXPECT_EQ(Utf8(t.Run(u"PRINT D")), depth) << reference;
    EXPECT_EQ(t.interp().runDepth, 0);
  }
}

}  // namespace
