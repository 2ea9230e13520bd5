// What the interpreter remembers about the positions of an unchanging text
// that it reads again and again: the statement that begins at a position,
// the shape of the expression that begins there (its operators, literals
// with their values, references with their indexes, members and argument
// lists, which names are built in) and where a block passed over from there
// ends.
//
// A form does what the plain path does with the same tokens, in the same
// order, without reading them: every value, every side effect and every
// failure is the plain path's, and where a run fails the context is left on
// the token where the plain path stands then, so that the message shows the
// same line and token. Where a run takes a way the form does not know (a
// built-in reads its own arguments; a name that was a variable is now a
// SUB), the form hands over to the plain path at the token where the two
// part, and the plain path finishes that part of the text.
//
// The forms are made the second time a position is run, and never in the
// reference mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/codes.h"
#include "core/exec_context.h"
#include "core/execution.h"
#include "core/frame_layouts.h"
#include "core/interpreter.h"
#include "core/interpreter_state.h"
#include "core/token_slot.h"

namespace vell {

struct TokenCache;
// Changes whenever a built-in name is registered anywhere (core/entry.cpp).
extern uint64_t gBuiltinStamp;

using StatementHandler = HandlerResult (*)(Interpreter& interp, ExecContext& ctx);

namespace forms {

// The reading state ReadAgain leaves, in the order of ExecContext's fields
// from cursor on; made the first time it is needed (lexedStart -1 until
// then), as a position's token memory never changes once it is filled.
struct ReadyState {
  int32_t cursor = 0;
  int32_t tokenStart = 0;
  int32_t tokenLength = 0;
  int32_t lexedStart = -1;
  int32_t lexedEnd = 0;
  int32_t lexedCode = 0;
  int32_t lexedFact = 0;
  int32_t tokenPending = 0;
};

// Where the plain path's reading stands: the token it read last, which
// begins at `at`, and whether it gave that token back.
struct ReadPoint {
  ReadPoint() = default;
  ReadPoint(int32_t point, bool back) : at(point), givenBack(back) {}
  int32_t at = 0;
  bool givenBack = false;
  mutable ReadyState ready;
};

// Variable: a name alone, read (no index, member, = or argument list).
enum class Shape : uint8_t { Number, Text, Group, Sign, Chain, Builtin, Name, Variable };

// An expression or one of its operands.
struct Expr {
  explicit Expr(Shape s) : shape(s) {}
  virtual ~Expr() = default;
  Shape shape;
  // Begins with a number or string literal (which replaces the current
  // value at once, so the left operand before it may be moved out).
  bool literalStart = false;
  // Its end is known only while it runs (a built-in reads its own
  // arguments): the plain path always finishes it and what follows it.
  bool open = false;
  int32_t first = 0;  // position of its first token
  ReadPoint end;      // where reading stands when it is done (unless open)
};

struct NumberExpr : Expr {
  NumberExpr() : Expr(Shape::Number) {}
  double value = 0.0;
};

struct TextExpr : Expr {
  TextExpr() : Expr(Shape::Text) {}
  std::u16string text;
};

struct Chain;
struct NameExpr;

// ( expression )
struct GroupExpr : Expr {
  GroupExpr() : Expr(Shape::Group) {}
  const Chain* inner = nullptr;
};

// Unary + or -.
struct SignExpr : Expr {
  SignExpr() : Expr(Shape::Sign) {}
  bool negate = false;
  const Expr* operand = nullptr;
};

// Operators of one level and above, as the evaluator reads them from that
// level: the first operand, then each operator with its right operand.
struct Chain : Expr {
  Chain() : Expr(Shape::Chain) {}
  struct Step {
    int op;
    int level;
    // An operand for the highest level; else a chain of the next level, or
    // just its first operand when nothing follows that (bare).
    const Expr* right;
    bool bare;
  };
  int minLevel = 0;
  // One operator between two operands that are each a number or a variable
  // alone (J < 200, I + 1): worked out at once when both hold reals. The
  // operands are kept here too, so that reading them takes no more steps.
  bool pairOfReals = false;
  struct RealOperand {
    const NameExpr* variable;  // null: the number
    double number;
  };
  RealOperand pair[2] = {};
  int pairOp = 0;
  const Expr* head = nullptr;
  std::vector<Step> steps;
};

// A built-in: its handler reads its arguments as usual. When the form knows
// its argument list (not open), end is that list's ); where the handler
// stops reading there, the form goes on after it.
struct BuiltinExpr : Expr {
  BuiltinExpr() : Expr(Shape::Builtin) {}
  BuiltinHandler handler = nullptr;
  int32_t openAt = 0;                   // the list's (
  std::vector<const Chain*> arguments;  // each ends on the , or ) after it
};

// A name with its index and member steps, then an assignment, or a read
// (which calls a SUB, with the argument list after it when there is one).
struct NameExpr : Expr {
  NameExpr() : Expr(Shape::Name) {}
  explicit NameExpr(Shape s) : Expr(s) {}
  struct Step {
    const Chain* index;  // null: a member, by name
    vellvar member;
  };
  std::u16string name;
  // The rest of the reference is left to the plain path (an index or an
  // argument that holds a built-in, an unusual member token).
  bool whole = false;
  std::vector<Step> steps;
  const Chain* assigned = nullptr;  // the right side, after the = at assignAt
  int32_t assignAt = 0;
  ReadPoint after;                  // a read: the token after the reference
  bool afterOpensList = false;      // ... is a (
  bool called = false;              // ... that opens an argument list known here
  std::vector<const Chain*> arguments;
  int32_t close = 0;                // the list's )
  uint16_t bucket = 0;  // names::NameBucket of the name
  bool held = false;    // it may name one of INPUT's held values: never remembered
  // What the name resolved to last: a global (or nothing), a local of the
  // running text's frame at frameOffset, or a caller's local at callerIndex
  // in the locals; trusted while the names epoch is the same and the locals
  // still show it (see form_runner.cpp).
  mutable uint64_t epoch = 0;
  mutable uint64_t framesEpoch = 0;  // the entry holds as it is while this is the same too
  mutable vellarray* entry = nullptr;
  mutable int32_t frameOffset = -1;
  mutable int32_t callerIndex = -1;
  mutable const FrameLayout* layout = nullptr;  // the frame it was found in, when known
};

// DIM with names alone: each name, and where reading stands after it (the
// token after it, given back).
struct Declarations {
  struct Name {
    std::u16string name;
    uint16_t bucket = 0;  // names::NameBucket
    ReadPoint after;
    // The global of that name while no name changed (whether it is a SUB
    // is read from it each time).
    mutable uint64_t epoch = 0;
    mutable vellarray* global = nullptr;
    // The frame it last made longer, and the longer frame.
    mutable const FrameLayout* from = nullptr;
    mutable const FrameLayout* to = nullptr;
  };
  std::vector<Name> names;
};

// The statement that begins at a position.
struct StatementForm;
// Runs a statement's form as ExecuteStatement after its checks would.
using StatementRunner = HandlerResult (*)(Interpreter& interp, ExecContext& ctx,
                                          const StatementForm& form);
struct StatementForm {
  // Assignment: an expression statement that assigns to a name alone.
  // Declaration: DIM with names alone. If, ElseIf, Return: those statements
  // with their expression (RETURN without one: none). Else: ELSE.
  enum Kind : uint8_t {
    Block, Close, End, Keyword, Expression, Assignment, Declaration, If, ElseIf, Else, Return
  };
  Kind kind = Block;
  int32_t at = 0;                      // its first token
  ReadPoint start;                     // ... read
  // If, ElseIf: the } of the block after the condition, as passed over last.
  mutable ReadPoint passedTo{-1, false};
  StatementHandler handler = nullptr;  // Keyword
  const Chain* expression = nullptr;   // Expression, Assignment, If, ElseIf, Return
  ReadPoint after;                     // Return without (: the token after RETURN, given back
  const NameExpr* target = nullptr;    // Assignment: the name (its right side is assigned)
  std::unique_ptr<Declarations> declarations;  // Declaration
  StatementRunner run = nullptr;               // the runner of its kind
};

// A text's parameter list, as BindParameters reads it at the text's start.
struct ParameterForm {
  bool list = false;                // the text begins with (
  std::vector<std::u16string> names;
  std::vector<vellvar> keys;        // each name as the key a local is given
  std::vector<uint16_t> buckets;    // names::NameBucket of each
  ReadPoint end;                    // the ), or the first token given back
  // The frame it makes from that many values.
  mutable int32_t layoutValues = -1;
  mutable const FrameLayout* layout = nullptr;
};

// How far a position is known.
enum class Learnt : uint8_t { Unseen, SeenOnce, Known, Plain };

// What is learnt at one position (as the cursor stands before the blanks,
// line ends and comments in front of a token).
struct Place {
  Learnt statementState = Learnt::Unseen;
  Learnt expressionState = Learnt::Unseen;
  const StatementForm* statement = nullptr;
  const Chain* expression = nullptr;
};

// The forms of one text, kept with its token memory.
struct TextForms {
  // The built-ins the forms were made against.
  const void* builtinTable = nullptr;
  uint64_t builtinStamp = 0;
  size_t builtinCount = 0;
  std::vector<Place*> placeAt;  // per position, into places; null: nothing yet
  std::deque<Place> places;     // never moved while they are used
  // The statement and expression forms known per position, found at once.
  std::vector<const StatementForm*> statementAt;
  std::vector<const Chain*> expressionAt;
  // Per position: the } that closes the block SkipStatement passes over
  // from there, or -1.
  std::vector<int32_t> skipTo;
  // Every form made, owned here for as long as the text's memory lives (a
  // form in use is never released, even when the built-ins change).
  std::vector<std::unique_ptr<Expr>> exprs;
  std::vector<std::unique_ptr<StatementForm>> statements;
  // The parameter list at the text's start.
  Learnt parametersState = Learnt::Unseen;
  std::unique_ptr<ParameterForm> parameters;
};

// The forms of the text a context binds to its token memory (made then, or
// forgotten when they were made against other built-ins).
TextForms& LearnFormsOf(Interpreter& interp, TokenCache& cache);
inline TextForms& FormsOf(Interpreter& interp, TokenCache& cache, TextForms* forms) {
  if (forms != nullptr && forms->builtinTable == &interp.builtins &&
      forms->builtinStamp == gBuiltinStamp && forms->builtinCount == interp.builtins.size()) {
    return *forms;
  }
  return LearnFormsOf(interp, cache);
}

Place* NewPlace(TextForms& forms, size_t position);

// The place for ctx's cursor, when ctx reads a text with a token memory
// (never in the reference mode); else null.
inline Place* PlaceAt(ExecContext& ctx) {
  if (ctx.text != ctx.tokenText) return nullptr;
  const size_t p = size_t(ctx.cursor);
  if (p >= ctx.tokenSlotCount) return nullptr;
  Place* place = ctx.textForms->placeAt[p];
  return place != nullptr ? place : NewPlace(*ctx.textForms, p);
}

// What a place learns when asked for a form it does not know yet: nothing
// the first time, the form (or that there is none) the second time.
const StatementForm* LearnStatement(Interpreter& interp, ExecContext& ctx, Place& place);
const Chain* LearnExpression(Interpreter& interp, ExecContext& ctx, Place& place);

// The form of the statement or expression at ctx's cursor; null while the
// plain path is to read it.
inline const StatementForm* StatementAt(Interpreter& interp, ExecContext& ctx) {
  if (ctx.text != ctx.tokenText || size_t(ctx.cursor) >= ctx.tokenSlotCount) return nullptr;
  const StatementForm* known = ctx.textForms->statementAt[size_t(ctx.cursor)];
  return known != nullptr ? known : LearnStatement(interp, ctx, *PlaceAt(ctx));
}
inline const Chain* ExpressionAt(Interpreter& interp, ExecContext& ctx) {
  if (ctx.text != ctx.tokenText || size_t(ctx.cursor) >= ctx.tokenSlotCount) return nullptr;
  const Chain* known = ctx.textForms->expressionAt[size_t(ctx.cursor)];
  return known != nullptr ? known : LearnExpression(interp, ctx, *PlaceAt(ctx));
}

// The parameter list of the text ctx begins (the cursor at 0); null while
// the plain path is to read it.
const ParameterForm* ParametersAt(Interpreter& interp, ExecContext& ctx);

// Makes the forms (core/form_compiler.cpp); null when the text there is
// anything the forms do not cover.
const StatementForm* MakeStatement(Interpreter& interp, ExecContext& ctx, TextForms& forms);
const Chain* MakeExpression(Interpreter& interp, ExecContext& ctx, TextForms& forms);
std::unique_ptr<ParameterForm> MakeParameters(Interpreter& interp, ExecContext& ctx,
                                              TextForms& forms);

// Runs an expression's form as EvalExpression after its own check would
// (core/form_runner.cpp).
HandlerResult RunExpression(Interpreter& interp, ExecContext& ctx, const Chain& form);
// An argument that is a number or a variable alone, read straight into its
// slot without touching the current value or the reading state; false
// (nothing done) for anything else.
bool ReadArgumentInto(Interpreter& interp, ExecContext& ctx, const Chain& form, vellvar& slot);
// The runner of a statement form's kind.
StatementRunner RunnerOf(StatementForm::Kind kind);

// The state ReadAgain restores at point, worked out from the token memory.
inline void MakeReady(const ExecContext& ctx, const ReadPoint& point) {
  const TokenSlot& slot = ctx.tokenSlots[point.at];
  ReadyState& ready = point.ready;
  ready.cursor = point.givenBack ? slot.start : slot.end;
  ready.tokenStart = slot.start;
  ready.tokenLength = slot.length;
  ready.lexedEnd = slot.end;
  ready.lexedCode = slot.code;
  ready.lexedFact = slot.fact;
  ready.tokenPending = point.at;
  ready.lexedStart = slot.start;
}
// ReadyState lies over ExecContext's reading fields, so that restoring it is
// one copy.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
constexpr size_t kReadingFields = offsetof(ExecContext, cursor);
#define VELL_READY_FIELD(f) \
  static_assert(offsetof(ExecContext, f) - kReadingFields == offsetof(ReadyState, f))
VELL_READY_FIELD(tokenStart);
VELL_READY_FIELD(tokenLength);
VELL_READY_FIELD(lexedStart);
VELL_READY_FIELD(lexedEnd);
VELL_READY_FIELD(lexedCode);
VELL_READY_FIELD(lexedFact);
VELL_READY_FIELD(tokenPending);
#undef VELL_READY_FIELD
#pragma GCC diagnostic pop
static_assert(sizeof(ReadyState) == offsetof(ReadyState, tokenPending) + sizeof(int32_t));

// Leaves ctx reading as the plain path would at that point; the token's
// text is taken from the memory when something reads it.
inline void ReadAgain(ExecContext& ctx, const ReadPoint& point) {
  if (point.ready.lexedStart < 0) MakeReady(ctx, point);
  std::memcpy(reinterpret_cast<char*>(&ctx) + kReadingFields, &point.ready, sizeof(ReadyState));
}

// Whether ctx reads on exactly as it would after the token at point (read,
// or given back, as point says).
inline bool ReadsOn(const ExecContext& ctx, const ReadPoint& point) {
  if (ctx.text != ctx.tokenText || ctx.tokenStart != point.at || ctx.lexedStart != point.at) {
    return false;
  }
  const TokenSlot& slot = ctx.tokenSlots[point.at];
  return ctx.cursor == (point.givenBack ? slot.start : slot.end);
}

// DIM as its form knows it (core/declarations.cpp).
HandlerResult DeclareLocals(Interpreter& interp, ExecContext& ctx, const StatementForm& form);

}  // namespace forms

}  // namespace vell
