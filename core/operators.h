// The binary operators of expressions: their levels and how each acts on
// its two operands, shared by the evaluator and the text's remembered forms.
#pragma once

#include "core/codes.h"
#include "core/exec_context.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"

namespace vell {

// The four levels of binary operators, lowest first. Each level's right
// operand is an expression of the next level up, and operators of one level
// apply from left to right.
enum OperatorLevel : int {
  LevelNone = -1,
  LevelLogic = 0,           // AND OR
  LevelRelation = 1,        // > < == != >= <=
  LevelAdditive = 2,        // + -
  LevelMultiplicative = 3,  // * /
  LevelPrimary = 4,
};

inline int LevelOf(int token) {
  switch (token) {
    case TokAnd:
    case TokOr:
      return LevelLogic;
    case TokGreater:
    case TokLess:
    case TokEqual:
    case TokNotEqual:
    case TokGreaterEqual:
    case TokLessEqual:
      return LevelRelation;
    case TokPlus:
    case TokMinus:
      return LevelAdditive;
    case TokTimes:
    case TokDivide:
      return LevelMultiplicative;
    default:
      return LevelNone;
  }
}

inline bool BothWide(const vellvar& a, const vellvar& b) {
  return a.kind == KindWide && b.kind == KindWide;
}

// Applies operator t of the given level to left and the right operand in
// ctx.value, leaving the result in ctx.value.
HandlerResult ApplyOperator(Interpreter& interp, ExecContext& ctx, int level, int t,
                            vellvar& left);

// The operator's result for two reals into ctx.value, as ApplyOperator
// gives it; false (nothing stored) for a division by zero.
__attribute__((always_inline)) inline bool StoreRealResult(ExecContext& ctx, int t, double left,
                                                           double right) {
  switch (t) {
    case TokAnd: ctx.value = int(left != 0.0 && right != 0.0); break;
    case TokOr: ctx.value = int(left != 0.0 || right != 0.0); break;
    case TokGreater: ctx.value = int(left > right); break;
    case TokLess: ctx.value = int(left < right); break;
    case TokEqual: ctx.value = int(left == right); break;
    case TokNotEqual: ctx.value = int(left != right); break;
    case TokGreaterEqual: ctx.value = int(left >= right); break;
    case TokLessEqual: ctx.value = int(left <= right); break;
    case TokPlus: ctx.value = left + right; break;
    case TokMinus: ctx.value = left - right; break;
    case TokTimes: ctx.value = left * right; break;
    default:
      if (right == 0.0) return false;
      ctx.value = left / right;
      break;
  }
  return true;
}

// Both operands real (the right one in ctx.value): the operator's result
// straight into ctx.value, as ApplyOperator gives it for two reals. False
// (nothing done) otherwise.
inline bool ApplyToReals(Interpreter& interp, ExecContext& ctx, int t, double left,
                         HandlerResult& result) {
  if (ctx.value.kind != KindReal) return false;
  result = StoreRealResult(ctx, t, left, ctx.value.RealValue()) ? ResultDone
                                                                 : Fail(interp, ErrorArithmetic);
  return true;
}

// The operator loop of the evaluator's level minLevel, after its first
// operand: the operators of that level and above, each with its right
// operand, up to a token that is none of them (given back). assignedTo: the
// value the whole expression is stored into next, if any.
HandlerResult ContinueOperators(Interpreter& interp, ExecContext& ctx, int minLevel,
                                vellvar* assignedTo = nullptr);

// A number token's value (the token is in ctx's buffer), worked out once per
// token of the text.
double NumberTokenValue(ExecContext& ctx, bool hex);

}  // namespace vell
