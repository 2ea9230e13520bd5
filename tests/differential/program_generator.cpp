#include "tests/differential/program_generator.h"

#include <array>
#include <string_view>

namespace vell::differential {

namespace {

constexpr int kSubs = 4;
constexpr int kMaxDepth = 3;       // nesting of blocks
constexpr int kMaxExpression = 3;  // nesting of expressions

std::u16string Number(int n) {
  std::u16string out;
  const std::string digits = std::to_string(n);
  out.assign(digits.begin(), digits.end());
  return out;
}

// Names are case-blind; a few are written in lower case.
std::u16string Cased(std::u16string name, bool lower) {
  if (lower) {
    for (char16_t& c : name) {
      if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    }
  }
  return name;
}

constexpr std::array<std::u16string_view, 4> kNumberNames = {u"G0", u"G1", u"G2", u"G3"};
constexpr std::array<std::u16string_view, 3> kTextNames = {u"S0", u"S1", u"S2"};
constexpr std::array<std::u16string_view, 3> kArrayNames = {u"A0", u"A1", u"A2"};
constexpr std::array<std::u16string_view, 2> kListNames = {u"L0", u"L1"};
constexpr std::array<std::u16string_view, 2> kLocalNames = {u"M0", u"M1"};
constexpr std::array<std::u16string_view, 3> kMemberNames = {u"X", u"NAME", u"Y"};
constexpr std::array<std::u16string_view, 5> kKeys = {u"\"k0\"", u"\"K1\"", u"\"\"", u"\"k0\"",
                                                       u"\"key two\""};

}  // namespace

GeneratedProgram ProgramGenerator::Generate() {
  input_.clear();
  subCount_ = kSubs;
  std::u16string out = u"' generated\n";
  out += u"GLOBAL G0, G1, G2, G3, S0, S1, S2, A0, A1, A2, L0, L1\n";
  out += u"GLOBAL I0, I1, I2, W0, W1, W2, J0, J1\n";
  out += u"G0 = 1\nG1 = 2.5\nG2 = \"7\"\nG3 = 0\n";
  out += u"S0 = \"abc\"\nS1 = \"Hello, world\"\nS2 = \"12abc\"\n";
  out += u"L0 = \"pear\\napple\\nfig\\n\"\nL1 = \"a=1\\nb=2\\n\"\n";
  if (Chance(70)) out += u"A0[2] = 5\nA0[\"k0\"] = \"v\"\nA1.X = 3\n";
  if (Chance(40)) out += u"GLOBAL M0\nM0 = 9\n";  // shadowed by the SUBs' own M0
  for (int i = 0; i < kSubs; ++i) Sub(out, i);
  ScopeSubs(out);
  CallerSubs(out);
  Scope main;
  Statements(out, main, 8 + Pick(25), 0);
  if (Chance(30)) out += u"PRINT G0, \" \", S0, \" \", A0[0], \" \", A0[\"k0\"], \"\\n\"\n";
  GeneratedProgram program;
  program.text = std::move(out);
  program.input = input_;
  return program;
}

void ProgramGenerator::Sub(std::u16string& out, int index) {
  out += u"SUB F" + Number(index) + u"(D, P) {\n";
  out += u"  IF D < 0 { RETURN (0) }\n";
  out += u"  DIM M0, M1, K0, K1, K2\n";
  out += u"  M0 = P\n";
  if (Chance(40)) {
    // C0 read by R0 as the main text's local, then as this frame's own.
    out += u"  PRINT R0(D), \" \"\n  DIM C0\n  C0 = P + 1\n  PRINT R0(1), \"\\n\"\n";
  }
  Scope scope;
  scope.inSub = true;
  Statements(out, scope, 1 + Pick(6), 1);
  if (Chance(80)) {
    Scope expressionScope = scope;
    out += u"  RETURN (" + Expression(expressionScope, 0) + u")\n";
  }
  out += u"}\n";
}

// SUBs whose names mean different things in different callers' scopes:
// N0 and N1 are SUBs, but inside V they are its parameters, and U0 (which
// declares nothing) sees whichever its caller has; H0 reads and writes its
// caller's M0. Q recurses without arguments, up to RD levels or the nesting
// limit.
void ProgramGenerator::ScopeSubs(std::u16string& out) {
  out += u"GLOBAL RD, QD\nRD = 0\nQD = " + Number(Chance(50) ? Pick(40) : 900 + Pick(300)) +
         u"\n";
  out += u"SUB N0 { RETURN (G0 + 1) }\n";
  out += u"SUB N1 { G1 = G1 + 1 RETURN (G1) }\n";
  out += u"SUB U0(D) {\n  IF D > 0 { RETURN (N0 + N1 * 2 + U0(D - 1)) }\n  RETURN (N1 - N0 / " +
         (Chance(80) ? std::u16string(u"2") : std::u16string(u"(D + 1)")) + u")\n}\n";
  out += u"SUB V(N0, D) {\n  PRINT N0, \" \", U0(D), \" \", N1, \"\\n\"\n";
  if (Chance(30)) out += u"  N1 = N0 * 3\n";  // a parameter named like a SUB: a plain local
  out += u"  RETURN (N0 + U0(D - 1))\n}\n";
  out += u"SUB H0 {\n  M0 = M0 + 1\n  RETURN (M0 * 2)\n}\n";
  out += u"SUB Q {\n  RD = RD + 1\n  IF RD < QD { Q }\n}\n";
}

// SUBs that read and write their callers' locals C0 and C1 in a loop: the
// main text's, or those of R1 (which declares C0 or not) between them, R0
// and R1 recursing into each other.
void ProgramGenerator::CallerSubs(std::u16string& out) {
  out += u"DIM C0, C1\nC0 = 3\nC1 = \"c\"\n";
  out += u"SUB R0(D) {\n  DIM T, S\n  S = 0\n"
         u"  FOR (T = 0, T < 3, T = T + 1) { S = S + C0 * T + LEN(C1) }\n"
         u"  IF LEN(C1) < 6 { C1 = C1 + D }\n"
         u"  IF D > 0 {\n    IF D == 2 { RETURN (S + R1(D - 1)) }\n"
         u"    RETURN (R0(D - 1) + C0 - S)\n  }\n  RETURN (S)\n}\n";
  out += u"SUB R1(D) {\n";
  if (Chance(60)) out += u"  DIM C0\n";
  out += u"  C0 = C0 + D + 1\n  RETURN (R0(D) + C0)\n}\n";
}

// A statement that runs one of those SUBs, or text whose meaning changes
// from pass to pass.
void ProgramGenerator::ScopeStatement(std::u16string& out, Scope& scope) {
  switch (Pick(10)) {
    case 0:
      out += u"PRINT U0(" + Number(Pick(3)) + u"), \"\\n\"\n";
      break;
    case 1:
      out += u"G2 = V(" + Expression(scope, 2) + u", " + Number(Pick(3)) + u")\n";
      break;
    case 2:
      out += scope.inSub ? u"G3 = H0\n" : u"PRINT H0, \"\\n\"\n";
      break;
    case 3:
      out += u"RD = 0\nQ\n";
      break;
    case 4: {
      // A divisor that reaches zero on a later pass of a loop.
      const std::u16string counter = scope.inSub ? u"K0" : u"I0";
      out += u"G0 = G0 + 10 / (" + counter + u" - " + Number(1 + Pick(3)) + u")\n";
      break;
    }
    case 5:
      // A SUB name assigned to: from now on a variable.
      out += Chance(50) ? u"N1 = 4\n" : u"PRINT N1 + N0, \"\\n\"\n";
      break;
    case 6:
      // An index, an argument and a right side that fail on some pass.
      out += u"A2[G3 / (" + std::u16string(scope.inSub ? u"K1" : u"I1") + u" - 1)] = N0\n";
      break;
    case 7:
      out += u"PRINT F" + Number(Pick(subCount_)) + u"(1, 1 / (" +
             std::u16string(scope.inSub ? u"K2" : u"I2") + u" - 2) + N1), \"\\n\"\n";
      break;
    case 8:
      out += u"PRINT " + std::u16string(Chance(50) ? u"R0(" : u"R1(") + Number(Pick(4)) +
             u"), \" \", C0, \"\\n\"\n";
      break;
    default: {
      // An argument list after a name that may be a variable here, in an
      // argument, an index or parentheses.
      static constexpr std::array<std::u16string_view, 4> kLists = {
          u"PRINT V(N1(1), 1)", u"PRINT A0[N1(2) - 1]", u"PRINT (N1(3))", u"PRINT U0(N1(0))"};
      out += std::u16string(kLists[size_t(Pick(int(kLists.size())))]) + u", \"\\n\"\n";
      break;
    }
  }
}

void ProgramGenerator::Statements(std::u16string& out, Scope& scope, int count, int depth) {
  for (int i = 0; i < count; ++i) Statement(out, scope, depth);
}

void ProgramGenerator::Block(std::u16string& out, Scope& scope, int depth) {
  out += u"{\n";
  Statements(out, scope, 1 + Pick(3), depth + 1);
  out += u"}\n";
}

void ProgramGenerator::Statement(std::u16string& out, Scope& scope, int depth) {
  const int roll = Pick(1000);
  if (roll < 12) {
    ArrayWork(out);
  } else if (roll < 230) {
    out += u"PRINT " + Expression(scope, 0);
    if (Chance(40)) out += u", \" \", " + Expression(scope, 1);
    out += u", \"\\n\"\n";
  } else if (roll < 480) {
    Assignment(out, scope);
  } else if (roll < 580) {
    if (depth >= kMaxDepth) return Assignment(out, scope);
    out += u"IF " + Expression(scope, 0) + u" ";
    Block(out, scope, depth);
    const int elseIfs = Pick(3);
    for (int i = 0; i < elseIfs; ++i) {
      out += u"ELSEIF " + Expression(scope, 1) + u" ";
      Block(out, scope, depth);
    }
    if (Chance(50)) {
      // A statement between them leaves the ELSE in the chain.
      if (Chance(15)) Assignment(out, scope);
      out += u"ELSE ";
      Block(out, scope, depth);
    }
  } else if (roll < 690) {
    if (depth >= kMaxDepth) return Assignment(out, scope);
    Loop(out, scope, depth);
  } else if (roll < 770) {
    out += Call(scope, 1) + u"\n";
  } else if (roll < 810) {
    // A text run by CALC or CALLSUB: an expression or a statement.
    if (Chance(50)) {
      out += u"PRINT CALC(\"" + std::u16string(kNumberNames[size_t(Pick(4))]) +
             u" + 1\"), \"\\n\"\n";
    } else {
      const int sub = Pick(subCount_);
      out += u"CALLSUB(\"F" + Number(sub) + u"(1, " + Number(Pick(9)) + u")\")\n";
    }
  } else if (roll < 840) {
    if (scope.loopDepth > 0) {
      out += u"IF " + Expression(scope, 1) + u" { BREAK }\n";
    } else if (scope.inSub) {
      out += u"IF " + Expression(scope, 1) + u" { RETURN (" + Expression(scope, 2) + u") }\n";
    } else {
      Assignment(out, scope);
    }
  } else if (roll < 860) {
    // A SUB defined again, with another body.
    Sub(out, Pick(subCount_));
  } else if (roll < 880) {
    out += u"SET " + std::u16string(kArrayNames[size_t(Pick(3))]) + u" = " +
           std::u16string(kArrayNames[size_t(Pick(3))]) + u"\n";
  } else if (roll < 885) {
    // Declared in a loop: the second pass fails.
    const std::u16string name = u"Q" + Number(Pick(3));
    out += u"DIM " + name + u"\n" + name + u" = 1\n";
  } else if (roll < 905) {
    out += u"LIST\n";
  } else if (roll < 920) {
    out += u"INPUT \"?\", " + Target(scope) + u"\n";
    input_ += Chance(50) ? "42\n" : "an answer\n";
  } else if (roll < 925) {
    Fault(out);
  } else if (roll < 945) {
    out += u"PRINT A0[0], A0[1], A0[\"k0\"], A1.X, \"\\n\"\n";
  } else if (roll < 947) {
    out += Chance(50) ? u"END\n" : u"EXIT\n";
  } else if (roll < 949) {
    out += Chance(50) ? u"NEW\n" : u"#SUBCLEAR\n";
  } else if (roll < 960) {
    const std::u16string list(kListNames[size_t(Pick(2))]);
    out += list + u" = ADDLIST(" + list + u", " + TextLiteral() + u")\n";
  } else if (roll < 990) {
    ScopeStatement(out, scope);
  } else {
    out += u"DELETE " + Target(scope) + u"\n";
  }
}

void ProgramGenerator::Loop(std::u16string& out, Scope& scope, int depth) {
  const int n = Pick(5);
  const std::u16string counter =
      scope.inSub ? u"K" + Number(scope.nextLoopVariable % 3)
                  : u"I" + Number(scope.nextLoopVariable % 3);
  ++scope.nextLoopVariable;
  ++scope.loopDepth;
  if (Chance(60)) {
    if (Chance(50)) {
      out += u"FOR " + counter + u" = 0, " + counter + u" < " + Number(n) + u", " + counter +
             u" = " + counter + u" + 1 ";
    } else {
      out += u"FOR (" + counter + u" = " + Number(n) + u", " + counter + u" > 0, " + counter +
             u" = " + counter + u" - 1) ";
    }
    Block(out, scope, depth);
  } else {
    const std::u16string w = scope.inSub ? u"M1" : u"W" + Number(Pick(3));
    out += w + u" = 0\nWHILE " + w + u" < " + Number(n) + u" {\n" + w + u" = " + w + u" + 1\n";
    Statements(out, scope, 1 + Pick(3), depth + 1);
    out += u"}\n";
  }
  --scope.loopDepth;
}

void ProgramGenerator::Assignment(std::u16string& out, Scope& scope) {
  const int roll = Pick(10);
  if (roll < 2) {
    Append(out, scope);
    return;
  }
  if (roll < 3) {
    const std::u16string name(kNumberNames[size_t(Pick(4))]);
    out += name + u" = " + name + u" + " + NumberLiteral() + u"\n";
    return;
  }
  // Anything else is cut to a bounded length when it is a text, so that
  // nothing doubles without end.
  std::u16string value = Expression(scope, 0);
  if (Chance(60)) value = u"LEFT(" + value + u", 40)";
  out += Target(scope) + u" = " + value + u"\n";
}

// Appends to a text, growing it by a little each time: the sum last or
// followed by more, the text appended to itself, a SUB's result (which may
// read or change the text) appended, an element appended to, another target,
// and the text read back.
void ProgramGenerator::Append(std::u16string& out, const Scope& scope) {
  const std::u16string name(kTextNames[size_t(Pick(3))]);
  const std::u16string sum = name + u" = " + name + u" + ";
  switch (Pick(9)) {
    case 0:
      out += sum + TextLiteral() + u"\n";
      break;
    case 1:
      out += sum + u"LEFT(" + name + u", 3)\n";
      break;
    case 2:
      out += sum + TextLiteral() + u" + " + TextLiteral() + u"\n";
      break;
    case 3:
      out += sum + Call(scope, kMaxExpression - 1) + u"\n";
      break;
    case 4: {
      const std::u16string element = std::u16string(kArrayNames[size_t(Pick(3))]) + Index(scope, 1);
      out += element + u" = " + element + u" + " + TextLiteral() + u"\n";
      break;
    }
    case 5:
      out += std::u16string(kTextNames[size_t(Pick(3))]) + u" = " + name + u" + " + TextLiteral() +
             u"\n";
      break;
    case 6:
      out += sum + TextLiteral() + u" == " + Variable(scope) + u"\n";
      break;
    case 7:
      out += u"SET " + sum + TextLiteral() + u"\n";
      break;
    default:
      out += sum + TextLiteral() + u" PRINT LEN(" + name + u"), RIGHT(" + name + u", 2), \"\\n\"\n";
      break;
  }
}

// An array filled by a loop and read back many times: by position forwards,
// backwards and at random; by many keys (wide, and narrow from STR); keys
// that claim unnamed elements; reads of a copy; and #DB of an element. Or a
// list built by a loop and read item by item, changed now and then.
void ProgramGenerator::ArrayWork(std::u16string& out) {
  static constexpr std::array<int, 6> kSizes = {3, 9, 12, 20, 40, 100};
  const std::u16string n = Number(kSizes[size_t(Pick(int(kSizes.size())))]);
  const std::u16string a(kArrayNames[size_t(Pick(3))]);
  const std::u16string other(kArrayNames[size_t(Pick(3))]);
  const std::u16string fill = u"FOR J0 = 0, J0 < " + n + u", J0 = J0 + 1 { ";
  const std::u16string read = u"FOR J1 = 0, J1 < " + n + u", J1 = J1 + 1 { ";
  const std::u16string random = u"MOD(J1 * 7919, " + n + u")";
  const std::u16string key = Chance(20) ? u"STR(J0)" : u"\"k\" + HEX(J0 * 3)";
  const std::u16string list(kListNames[size_t(Pick(2))]);
  switch (Pick(8)) {
    case 6:
      out += list + u" = \"\"\n" + fill + list + u" = " + list +
             u" + \"w\" + HEX(J0 * 7) + \"\\n\" }\n";
      if (Chance(50)) out += list + u" = SORTLIST(" + list + u")\n";
      out += u"G3 = 0\nFOR J1 = 0, J1 < COUNTLIST(" + list +
             u"), J1 = J1 + 1 { G3 = G3 + LEN(GETLIST(" + list + u", J1)) + FINDLIST(" + list +
             u", HEX(J1)) }\n";
      break;
    case 7:
      out += read + u"G3 = GETLIST(" + list + u", " + random + u") + GETKEYLIST(" + list +
             u", \"a\") ";
      out += Chance(50) ? list + u" = SETLIST(" + list + u", 0, HEX(J1)) }\n" : u"}\n";
      break;
    case 0:
      out += fill + a + u"[J0] = J0 * 2 }\nG3 = 0\n";
      out += u"FOR (J1 = " + n + u" - 1, J1 >= 0, J1 = J1 - 1) { G3 = G3 + " + a + u"[J1] }\n";
      out += read + u"G3 = G3 + " + a + u"[" + random + u"] }\n";
      break;
    case 1:
      out += fill + a + u"[" + key + u"] = J0 }\nG3 = 0\n";
      out += read + u"G3 = G3 + " + a + u"[\"k\" + HEX(" + random + u" * 3)] }\n";
      if (Chance(50)) out += read + a + u"[STR(J1)] = J1 }\n";
      break;
    case 2:
      out += fill + a + u"[J0] = J0 }\n";
      out += read + a + u"[\"c\" + HEX(" + random + u")] = " + a + u"[\"c\" + HEX(J1)] + 1 }\n";
      out += u"G3 = " + a + u"[\"c1\"] + " + a + u"[J0 - 1]\n";
      break;
    case 3:
      out += fill + a + u"[" + key + u"] = J0 " + a + u"[\"\"] = J0 " + a + u"[J0] = " + a +
             u"[J0] + 1 }\n";
      out += u"G3 = " + a + u"[\"k3\"] + " + a + u"[\"\"]\n";
      break;
    case 4:
      out += fill + a + u"[" + key + u"] = J0 }\nSET " + other + u" = " + a + u"\n";
      out += read + other + u"[\"k\" + HEX(" + random + u" * 3)] = J1 G3 = " + a + u"[J1] }\n";
      break;
    default:
      out += fill + a + u"[J0] = J0 }\n#DB " + a + u"[" + n + u" - 2]\n";
      break;
  }
  out += u"PRINT G3, \" \", " + a + u"[0], \"\\n\"\n";
}

void ProgramGenerator::Fault(std::u16string& out) {
  switch (Pick(9)) {
    case 0: out += u"PRINT (1 + 2\n"; break;
    case 1: out += u"PRINT 1 / 0\n"; break;
    case 2: out += u"PRINT NOSUCHNAME\n"; break;
    case 3: out += u"G0 = @\n"; break;
    case 4: out += u"PRINT \"open\n"; break;
    case 5: out += u"ELSE { PRINT 1 }\n"; break;
    case 6: out += u"PRINT MID(\"abc\")\n"; break;
    case 8:
      // A division by variables, read again and again until the divisor is 0.
      out += u"G3 = 2\nWHILE 1 { PRINT G1 / G3, \" \" G3 = G3 - 1 }\n";
      break;
    default: out += u"PRINT CALC(\"1 +\"), \"\\n\"\n"; break;
  }
}

std::u16string ProgramGenerator::Expression(const Scope& scope, int depth) {
  std::u16string left = Operand(scope, depth);
  if (depth >= kMaxExpression || Chance(45)) return left;
  static constexpr std::array<std::u16string_view, 14> kOperators = {
      u" + ", u" - ", u" * ", u" / ", u" == ", u" != ", u" < ",
      u" > ", u" <= ", u" >= ", u" AND ", u" OR ", u" + ", u" * "};
  const std::u16string op(kOperators[size_t(Pick(int(kOperators.size())))]);
  // A divisor that may be zero now and then.
  std::u16string right = op == u" / " && Chance(97) ? u"(" + NumberLiteral() + u" + 0.5)"
                                                    : Expression(scope, depth + 1);
  return left + op + right;
}

std::u16string ProgramGenerator::Operand(const Scope& scope, int depth) {
  const int roll = Pick(100);
  if (roll < 20) return NumberLiteral();
  if (roll < 32) return TextLiteral();
  if (roll < 62) return Variable(scope);
  if (roll < 82 && depth < kMaxExpression) return Call(scope, depth + 1);
  if (roll < 90 && depth < kMaxExpression) return u"(" + Expression(scope, depth + 1) + u")";
  if (roll < 95) return u"-" + Operand(scope, kMaxExpression);
  return Nested(scope);
}

std::u16string ProgramGenerator::Call(const Scope& scope, int depth) {
  const auto e = [&] { return Expression(scope, depth + 1); };
  const auto small = [&] { return Number(Chance(95) ? Pick(3) : Pick(7) - 1); };
  // A position: mostly a small number, else a variable or an expression, so
  // that arguments read straight and evaluated ones come in every order.
  const auto position = [&] {
    if (Chance(70)) return small();
    return Chance(50) ? Variable(scope) : e();
  };
  const std::u16string list(kListNames[size_t(Pick(2))]);
  const std::u16string text = Chance(60) ? Variable(scope) : TextLiteral();
  switch (Pick(30)) {
    case 0: return u"LEN(" + text + u")";
    case 1: return u"MID(" + text + u", " + position() + u", " + position() + u")";
    case 2: return u"LEFT(" + text + u", " + small() + u")";
    case 3: return u"RIGHT(" + text + u", " + small() + u")";
    case 4: return u"INSTR(" + text + u", " + TextLiteral() + u")";
    case 5: return u"INSTR(" + text + u", " + TextLiteral() + u", " + small() + u")";
    case 6: return u"REPLACE(" + text + u", " + TextLiteral() + u", " + TextLiteral() + u")";
    case 7: return u"UPPER(" + text + u")";
    case 8: return u"LOWER(" + e() + u")";
    case 9: return u"STR(" + e() + u")";
    case 10: return u"VAL(" + text + u")";
    case 11: return u"ASC(" + text + u")";
    case 12: return u"CHR(65 + " + small() + u")";
    case 13: return u"HEX(" + e() + u")";
    case 14: return u"INT(" + e() + u")";
    case 15: return u"ABS(" + e() + u")";
    case 16: return u"MOD(" + e() + u", " + Number(1 + Pick(5)) + u")";
    case 17: return u"COUNTLIST(" + list + u")";
    case 18: return u"GETLIST(" + list + u", " + position() + u")";
    case 19: return u"FINDLIST(" + list + u", " + TextLiteral() + u")";
    case 20: return u"SORTLIST(" + list + u")";
    case 21: return u"SETLIST(" + list + u", " + small() + u", " + TextLiteral() + u")";
    case 22: return u"INSERTLIST(" + list + u", " + small() + u", " + TextLiteral() + u")";
    case 23: return u"DELETELIST(" + list + u", " + small() + u")";
    case 24: return u"EXCHANGELIST(" + list + u", " + small() + u", " + small() + u")";
    case 25: return u"GETKEYLIST(" + list + u", " + TextLiteral() + u")";
    case 26: return u"SETKEYLIST(" + list + u", " + TextLiteral() + u", " + TextLiteral() + u")";
    case 27: return u"ROUND(" + e() + u", " + Number(Pick(3)) + u")";
    default: {
      // A SUB: one level less deep inside a SUB, at most two from the main text.
      const std::u16string depthArgument = scope.inSub ? u"D - 1" : Number(Pick(3));
      std::u16string call = u"F" + Number(Pick(subCount_)) + u"(" + depthArgument;
      if (!Chance(1)) call += u", " + e();
      return call + u")";
    }
  }
}

std::u16string ProgramGenerator::NumberLiteral() {
  static constexpr std::array<std::u16string_view, 14> kNumbers = {
      u"0", u"1", u"2", u"3", u"7", u"10", u"1.5", u"0.1", u"2147483647", u"1e20",
      u"0x1F", u"3000000000", u"2.9", u"100"};
  return std::u16string(kNumbers[size_t(Pick(int(kNumbers.size())))]);
}

std::u16string ProgramGenerator::TextLiteral() {
  static constexpr std::array<std::u16string_view, 14> kTexts = {
      u"\"\"", u"\"a\"", u"\"abc\"", u"\"ab\"", u"\"12abc\"", u"\" 42\"", u"\"x\\\"y\"",
      u"\"line\\nnext\"", u"\"日本\"", u"\"pear\"", u"\"k0\"", u"\"a=9\"", u"\"5\"", u"\"B\""};
  return std::u16string(kTexts[size_t(Pick(int(kTexts.size())))]);
}

std::u16string ProgramGenerator::Variable(const Scope& scope) {
  const bool lower = Chance(10);
  const int roll = Pick(100);
  if (scope.inSub && roll < 25) {
    if (roll < 8) return Cased(u"P", lower);
    if (roll < 12) return Cased(u"D", lower);
    return Cased(std::u16string(kLocalNames[size_t(Pick(2))]), lower);
  }
  if (roll < 45) return Cased(std::u16string(kNumberNames[size_t(Pick(4))]), lower);
  if (roll < 70) return Cased(std::u16string(kTextNames[size_t(Pick(3))]), lower);
  if (roll < 78) return Cased(std::u16string(kListNames[size_t(Pick(2))]), lower);
  const std::u16string array(kArrayNames[size_t(Pick(3))]);
  return array + Index(scope, 2);
}

std::u16string ProgramGenerator::Target(const Scope& scope) {
  const int roll = Pick(100);
  if (scope.inSub && roll < 20) return std::u16string(kLocalNames[size_t(Pick(2))]);
  if (roll < 40) return std::u16string(kNumberNames[size_t(Pick(4))]);
  if (roll < 55) return std::u16string(kTextNames[size_t(Pick(3))]);
  return std::u16string(kArrayNames[size_t(Pick(3))]) + Index(scope, 2);
}

// An index or member step, sometimes two.
std::u16string ProgramGenerator::Index(const Scope& scope, int depth) {
  std::u16string step;
  switch (Pick(9)) {
    case 0: step = u"[" + Number(Pick(6)) + u"]"; break;
    case 1: step = u"[" + Number(Pick(40)) + u"]"; break;
    case 2: step = u"[-1]"; break;
    case 3: step = u"[1.9]"; break;
    case 4: step = u"[" + std::u16string(kKeys[size_t(Pick(int(kKeys.size())))]) + u"]"; break;
    case 5: step = u"[STR(" + Number(Pick(3)) + u")]"; break;  // a narrow key
    case 6: step = u"." + std::u16string(kMemberNames[size_t(Pick(3))]); break;
    case 7: step = u"[" + Variable(scope) + u"]"; break;
    default: step = u"[G3]"; break;
  }
  if (depth > 1 && Chance(25)) step += Index(scope, depth - 1);
  return step;
}

// A reference with a computed index.
std::u16string ProgramGenerator::Nested(const Scope&) {
  return std::u16string(kArrayNames[size_t(Pick(3))]) + u"[" +
         (Chance(50) ? u"I0" : u"G3 + " + Number(Pick(3))) + u"]";
}

}  // namespace vell::differential
