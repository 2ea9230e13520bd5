// Random programs for the differential test: mostly well formed, with
// loops, SUBs that recurse and are defined again, DIM inside loops, arrays
// reached by position and by key, texts and lists, CALC and CALLSUB of
// generated text, and now and then an error at a random place. Names that
// change their meaning between passes over the same text (a name that is a
// SUB in one caller's scope and a parameter in another's, a SUB assigned to,
// locals shadowing globals, a divisor that reaches zero on a later pass)
// and recursion up to the nesting limit test what the interpreter remembers
// about a text it reads again. Every loop and every recursion is bounded,
// and the run has a statement budget.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace vell::differential {

struct GeneratedProgram {
  std::u16string text;
  std::string input;  // answers for the INPUT statements it holds
};

class ProgramGenerator {
 public:
  explicit ProgramGenerator(uint64_t seed) : random_(seed) {}
  GeneratedProgram Generate();

 private:
  // A scope of names: the main text or a SUB body.
  struct Scope {
    bool inSub = false;
    int loopDepth = 0;
    int nextLoopVariable = 0;
  };

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  void Statements(std::u16string& out, Scope& scope, int count, int depth);
  void Statement(std::u16string& out, Scope& scope, int depth);
  void Block(std::u16string& out, Scope& scope, int depth);
  void Loop(std::u16string& out, Scope& scope, int depth);
  void Assignment(std::u16string& out, Scope& scope);
  void Append(std::u16string& out, const Scope& scope);
  void ArrayWork(std::u16string& out);
  void Sub(std::u16string& out, int index);
  void ScopeSubs(std::u16string& out);
  void CallerSubs(std::u16string& out);
  void ScopeStatement(std::u16string& out, Scope& scope);
  void Fault(std::u16string& out);

  std::u16string Expression(const Scope& scope, int depth);
  std::u16string Operand(const Scope& scope, int depth);
  std::u16string Call(const Scope& scope, int depth);
  std::u16string NumberLiteral();
  std::u16string TextLiteral();
  std::u16string Variable(const Scope& scope);
  std::u16string Target(const Scope& scope);
  std::u16string Index(const Scope& scope, int depth);
  std::u16string Nested(const Scope& scope);

  std::mt19937_64 random_;
  std::string input_;
  int subCount_ = 0;
};

}  // namespace vell::differential
