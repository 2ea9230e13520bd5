// The expression evaluator: five levels that evaluate while they parse.
// Each level keeps its left operand while it evaluates the right one and
// leaves its result in the context's value.
#include <charconv>
#include <limits>
#include <utility>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/operators.h"
#include "core/remembered_forms.h"
#include "core/lexer.h"
#include "core/reference_mode.h"
#include "core/stack_check.h"
#include "core/token_cache.h"
#include "core/variables.h"

namespace vell {

namespace {

// The left operand of a binary operator. While the right operand is
// evaluated the current value stays what it was (a command that sets no
// result gives it back), so it is moved out only when the right operand
// begins with a literal, which replaces it at once.
inline vellvar TakeLeft(Interpreter& interp, ExecContext& ctx) {
  const int t = NextToken(interp, ctx);
  UngetToken(ctx);
  if (t == TokNumber || t == TokHexNumber || t == TokString) return vellvar(std::move(ctx.value));
  return vellvar(ctx.value);
}

// A decimal number token (digits, one point, one exponent with its sign) as a
// real, by the longest prefix that reads as a number.
double DecimalTokenValue(const ExecContext& ctx) {
  const int32_t n = ctx.tokenLength;
  if (n <= 15) {
    // Whole numbers of up to 15 digits are exact as reals: no conversion call.
    int64_t whole = 0;
    int32_t i = 0;
    while (i < n && ctx.token[i] >= u'0' && ctx.token[i] <= u'9') whole = whole * 10 + (ctx.token[i++] - u'0');
    if (i == n) return static_cast<double>(whole);
  }
  char buffer[kTokenCapacity] = {};
  bool negativeExponent = false;
  for (int32_t i = 0; i < n; ++i) {
    buffer[i] = static_cast<char>(ctx.token[i]);
    if (ctx.token[i] == u'-') negativeExponent = true;
  }
  double value = 0.0;
  const auto result = std::from_chars(buffer, buffer + n, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return value;
}

// A hex token (0x and hexadecimal digits); values beyond the 32-bit range
// give 2147483647.
double HexTokenValue(const ExecContext& ctx) {
  int64_t value = 0;
  for (int32_t i = 2; i < ctx.tokenLength; ++i) {
    const char16_t c = ctx.token[i];
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else digit = c - u'A' + 10;
    value = value * 16 + digit;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  }
  return static_cast<double>(value);
}

}  // namespace

double NumberTokenValue(ExecContext& ctx, bool hex) {
  TokenCache::Fact* fact = CurrentTokenFact(ctx);
  if (fact != nullptr && fact->hasNumber) return fact->number;
  const double number = hex ? HexTokenValue(ctx) : DecimalTokenValue(ctx);
  if (fact != nullptr) {
    fact->number = number;
    fact->hasNumber = true;
  }
  return number;
}

namespace {

HandlerResult ResolveName(Interpreter& interp, ExecContext& ctx) {
  if (const BuiltinHandler handler = FindBuiltin(interp, ctx)) {
    return handler(interp, ctx) == ResultFailed ? ResultFailed : ResultDone;
  }
  if (FindVariable(interp, ctx) == 0) return Fail(interp, ErrorUndefined);
  return AccessVariable(interp, ctx, ctx.foundEntry) == ResultFailed ? ResultFailed : ResultDone;
}

}  // namespace

HandlerResult ApplyOperator(Interpreter& interp, ExecContext& ctx, int level, int t,
                            vellvar& left) {
  switch (level) {
    case LevelLogic: {
      ctx.value.ChangeKind(KindReal);
      const int r = (t == TokAnd) ? (left && ctx.value) : (left || ctx.value);
      ctx.value = r;
      return ResultDone;
    }
    case LevelRelation: {
      if (!BothWide(left, ctx.value)) ctx.value.ChangeKind(KindReal);
      int r;
      switch (t) {
        case TokGreater: r = left > ctx.value; break;
        case TokLess: r = left < ctx.value; break;
        case TokEqual: r = left == ctx.value; break;
        case TokNotEqual: r = left != ctx.value; break;
        case TokGreaterEqual: r = left >= ctx.value; break;
        default: r = left <= ctx.value; break;
      }
      ctx.value = r;
      return ResultDone;
    }
    case LevelAdditive:
      if (t == TokPlus) {
        if (!BothWide(left, ctx.value)) ctx.value.ChangeKind(KindReal);
        left += ctx.value;
      } else {
        ctx.value.ChangeKind(KindReal);
        left -= ctx.value;
      }
      ctx.value = std::move(left);
      return ResultDone;
    default:
      ctx.value.ChangeKind(KindReal);
      if (t == TokTimes) {
        left *= ctx.value;
      } else {
        if (ctx.value.RealValue() == 0.0) return Fail(interp, ErrorArithmetic);
        left /= ctx.value;
      }
      ctx.value = std::move(left);
      return ResultDone;
  }
}


namespace {

HandlerResult EvalFromLevel(Interpreter& interp, ExecContext& ctx, int minLevel,
                            vellvar* assignedTo = nullptr);

// S = S + X with S the assignment's target: when this sum is the last
// operation of the right side, nothing reads S before the store, so S lets
// the left operand have its block and X is appended in place.
inline void AppendInPlaceForStore(Interpreter& interp, ExecContext& ctx, vellvar& left,
                                  vellvar& target) {
  if (!BothWide(left, ctx.value) || ReferenceMode()) return;
  const int next = NextToken(interp, ctx);
  UngetToken(ctx);
  if (LevelOf(next) == LevelNone) left.TakeBlockForAppend(target, ctx.value);
}

// An expression of operators of minLevel and above: an operand, then as
// long as the next token is such an operator, the operator and its right
// operand. Reads the same tokens in the same order as one function per
// level would, without passing each operand up through every level.
// assignedTo: the value the whole expression is stored into next, if any.
HandlerResult EvalFromLevel(Interpreter& interp, ExecContext& ctx, int minLevel,
                            vellvar* assignedTo) {
  if (EvalPrimary(interp, ctx) == ResultFailed) return ResultFailed;
  return ContinueOperators(interp, ctx, minLevel, assignedTo);
}

}  // namespace

HandlerResult ContinueOperators(Interpreter& interp, ExecContext& ctx, int minLevel,
                                vellvar* assignedTo) {
  for (;;) {
    const int t = NextToken(interp, ctx);
    const int level = LevelOf(t);
    if (level < minLevel) {
      UngetToken(ctx);
      return ResultDone;
    }
    if (ctx.value.kind == KindReal) {
      // A real left operand is kept as a number; the current value stays
      // as it is until the right operand replaces it, as TakeLeft keeps it.
      const double leftReal = ctx.value.RealValue();
      if (level == LevelMultiplicative) {
        if (EvalPrimary(interp, ctx) == ResultFailed) return ResultFailed;
      } else if (EvalFromLevel(interp, ctx, level + 1) == ResultFailed) {
        return ResultFailed;
      }
      HandlerResult result;
      if (ApplyToReals(interp, ctx, t, leftReal, result)) {
        if (result == ResultFailed) return ResultFailed;
        continue;
      }
      vellvar left(leftReal);
      if (ApplyOperator(interp, ctx, level, t, left) == ResultFailed) return ResultFailed;
      continue;
    }
    vellvar left(TakeLeft(interp, ctx));
    if (level == LevelMultiplicative) {
      if (EvalPrimary(interp, ctx) == ResultFailed) return ResultFailed;
    } else if (EvalFromLevel(interp, ctx, level + 1) == ResultFailed) {
      return ResultFailed;
    }
    if (assignedTo != nullptr && t == TokPlus)
      AppendInPlaceForStore(interp, ctx, left, *assignedTo);
    if (ApplyOperator(interp, ctx, level, t, left) == ResultFailed) return ResultFailed;
  }
}

HandlerResult EvalExpression(Interpreter& interp, ExecContext& ctx) {
  if (ctx.breakFlag != 0 || ctx.returnFlag != 0) return ResultDone;
  if (const forms::Chain* form = forms::ExpressionAt(interp, ctx)) {
    return forms::RunExpression(interp, ctx, *form);
  }
  return EvalFromLevel(interp, ctx, LevelLogic);
}

HandlerResult EvalAssignedValue(Interpreter& interp, ExecContext& ctx, vellvar& target) {
  if (ctx.breakFlag != 0 || ctx.returnFlag != 0) return ResultDone;
  return EvalFromLevel(interp, ctx, LevelLogic, &target);
}

HandlerResult EvalRelation(Interpreter& interp, ExecContext& ctx) {
  return EvalFromLevel(interp, ctx, LevelRelation);
}

HandlerResult EvalAdditive(Interpreter& interp, ExecContext& ctx) {
  return EvalFromLevel(interp, ctx, LevelAdditive);
}

HandlerResult EvalMultiplicative(Interpreter& interp, ExecContext& ctx) {
  return EvalFromLevel(interp, ctx, LevelMultiplicative);
}

HandlerResult EvalPrimary(Interpreter& interp, ExecContext& ctx) {
  if (StackUsedUp(interp, kNestingSlack)) return ResultFailed;
  switch (NextToken(interp, ctx)) {
    case TokError:
      return ResultFailed;
    case TokNumber:
      ctx.value = NumberTokenValue(ctx, false);
      return ResultDone;
    case TokHexNumber:
      ctx.value = NumberTokenValue(ctx, true);
      return ResultDone;
    case TokString:
      ctx.value = ctx.TokenView();
      return ResultDone;
    case TokOpenParen:
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      if (NextToken(interp, ctx) != TokCloseParen) return Fail(interp, ErrorUnbalanced);
      return ResultDone;
    case TokPlus:
      if (EvalPrimary(interp, ctx) == ResultFailed) return ResultFailed;
      ctx.value.ChangeKind(KindReal);
      return ResultDone;
    case TokMinus:
      if (EvalPrimary(interp, ctx) == ResultFailed) return ResultFailed;
      ctx.value.ChangeKind(KindReal);
      ctx.value.Negate();
      return ResultDone;
    case TokIdentifier:
      return ResolveName(interp, ctx);
    default:
      return Fail(interp, ErrorSyntax);
  }
}

}  // namespace vell
