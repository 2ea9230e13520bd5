// Statement dispatch and the flow-control and output statements. Conditions,
// loop headers and bodies are read again from the text every time they run.
#include "core/statements.h"

#include <cstring>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/lexer.h"

namespace vell {

namespace {

template <size_t N>
inline bool TokenEquals(const ExecContext& ctx, const char16_t (&word)[N]) {
  return std::memcmp(ctx.token, word, (N - 1) * sizeof(char16_t)) == 0;
}

inline bool Leaving(const ExecContext& ctx) { return ctx.breakFlag != 0 || ctx.returnFlag != 0; }

}  // namespace

StatementHandler FindStatementKeyword(const ExecContext& ctx) {
  // Whole-token matches, so the order of the comparisons does not matter.
  switch (ctx.tokenLength) {
    case 2:
      if (TokenEquals(ctx, u"IF")) return ExecIf;
      break;
    case 3:
      switch (ctx.token[0]) {
        case u'R': if (TokenEquals(ctx, u"REM")) return ExecRem; break;
        case u'F': if (TokenEquals(ctx, u"FOR")) return ExecFor; break;
        case u'D': if (TokenEquals(ctx, u"DIM")) return ExecDim; break;
        case u'S': if (TokenEquals(ctx, u"SUB")) return ExecSub; break;
        case u'L': if (TokenEquals(ctx, u"LET")) return ExecLet; break;
        case u'N': if (TokenEquals(ctx, u"NEW")) return ExecNew; break;
        case u'E': if (TokenEquals(ctx, u"END")) return ExecEnd; break;
        default: break;
      }
      break;
    case 4:
      switch (ctx.token[0]) {
        case u'E':
          if (TokenEquals(ctx, u"ELSE")) return ExecElse;
          if (TokenEquals(ctx, u"EXIT")) return ExecExit;
          break;
        case u'C': if (TokenEquals(ctx, u"CALL")) return ExecCall; break;
        default: break;
      }
      break;
    case 5:
      switch (ctx.token[0]) {
        case u'P': if (TokenEquals(ctx, u"PRINT")) return ExecPrint; break;
        case u'W': if (TokenEquals(ctx, u"WHILE")) return ExecWhile; break;
        case u'B': if (TokenEquals(ctx, u"BREAK")) return ExecBreak; break;
        case u'I': if (TokenEquals(ctx, u"INPUT")) return ExecInput; break;
        default: break;
      }
      break;
    case 6:
      switch (ctx.token[0]) {
        case u'E': if (TokenEquals(ctx, u"ELSEIF")) return ExecElseIf; break;
        case u'R': if (TokenEquals(ctx, u"RETURN")) return ExecReturn; break;
        case u'G': if (TokenEquals(ctx, u"GLOBAL")) return ExecGlobal; break;
        default: break;
      }
      break;
    default:
      break;
  }
  return nullptr;
}

HandlerResult ExecuteKeyword(Interpreter& interp, ExecContext& ctx) {
  if (const StatementHandler handler = FindStatementKeyword(ctx)) return handler(interp, ctx);
  // No keyword: an expression statement that starts with this name.
  UngetToken(ctx);
  return EvalExpression(interp, ctx);
}

HandlerResult ExecRem(Interpreter&, ExecContext& ctx) { return ResultOfToken(SkipLine(ctx)); }

HandlerResult ExecPrint(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    PrintText(interp, ctx.value);
    if (NextToken(interp, ctx) != TokComma) {
      UngetToken(ctx);
      return ResultDone;
    }
  }
}

namespace {

// Runs the branch when taken, else passes over it; ifState follows.
HandlerResult RunOrPassBranch(Interpreter& interp, ExecContext& ctx, bool taken) {
  if (taken) {
    const HandlerResult r = ExecuteStatement(interp, ctx);
    ctx.ifState = 1;
    return r;
  }
  const HandlerResult r = SkipStatement(interp, ctx);
  ctx.ifState = 2;
  return r;
}

}  // namespace

HandlerResult ExecIf(Interpreter& interp, ExecContext& ctx) {
  if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
  return IfBranch(interp, ctx);
}

HandlerResult IfBranch(Interpreter& interp, ExecContext& ctx) {
  return RunOrPassBranch(interp, ctx, ConditionHolds(ctx));
}

HandlerResult ExecElseIf(Interpreter& interp, ExecContext& ctx) {
  if (ctx.ifState == 0) return Fail(interp, ErrorSyntax);
  if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
  return ElseIfBranch(interp, ctx);
}

HandlerResult ElseIfBranch(Interpreter& interp, ExecContext& ctx) {
  const bool holds = ConditionHolds(ctx);
  if (ctx.ifState == 2) return RunOrPassBranch(interp, ctx, holds);
  return SkipStatement(interp, ctx);
}

HandlerResult ExecElse(Interpreter& interp, ExecContext& ctx) {
  if (ctx.ifState == 0) return Fail(interp, ErrorSyntax);
  const HandlerResult r =
      ctx.ifState == 2 ? ExecuteStatement(interp, ctx) : SkipStatement(interp, ctx);
  ctx.ifState = 0;
  return r;
}

HandlerResult ExecWhile(Interpreter& interp, ExecContext& ctx) {
  const int32_t conditionStart = ctx.cursor;
  for (;;) {
    ctx.cursor = conditionStart;
    if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
    const int32_t bodyStart = ctx.cursor;
    if (!ConditionHolds(ctx)) {
      ctx.cursor = bodyStart;
      ctx.breakFlag = 0;
      return SkipStatement(interp, ctx);
    }
    ctx.breakFlag = 0;
    if (ExecuteStatement(interp, ctx) == ResultFailed) return ResultFailed;
    if (Leaving(ctx)) {
      ctx.cursor = bodyStart;
      ctx.breakFlag = 0;
      return SkipStatement(interp, ctx);
    }
  }
}

HandlerResult ExecFor(Interpreter& interp, ExecContext& ctx) {
  // Header: [(] init, cond, step [)] { body }
  if (NextToken(interp, ctx) != TokOpenParen) UngetToken(ctx);

  int t = NextToken(interp, ctx);
  UngetToken(ctx);
  if (t != TokComma && EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
  if (ScanToToken(interp, ctx, TokComma) == TokError) return ResultFailed;

  const int32_t conditionStart = ctx.cursor;
  t = NextToken(interp, ctx);
  UngetToken(ctx);
  const bool hasCondition = t != TokComma;
  if (ScanToToken(interp, ctx, TokComma) == TokError) return ResultFailed;

  const int32_t stepStart = ctx.cursor;
  t = NextToken(interp, ctx);
  UngetToken(ctx);
  const bool hasStep = t != TokCloseParen && t != TokBlockOpen;
  if (ScanToToken(interp, ctx, TokBlockOpen) == TokError) return ResultFailed;
  const int32_t body = ctx.tokenStart;

  for (;;) {
    if (hasCondition) {
      ctx.cursor = conditionStart;
      if (EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
      if (!ConditionHolds(ctx)) {
        ctx.cursor = body;
        ctx.breakFlag = 0;
        return SkipStatement(interp, ctx);
      }
    }
    ctx.breakFlag = 0;
    ctx.cursor = body;
    if (ExecuteStatement(interp, ctx) == ResultFailed) return ResultFailed;
    if (Leaving(ctx)) {
      ctx.cursor = body;
      ctx.breakFlag = 0;
      return SkipStatement(interp, ctx);
    }
    if (hasStep) {
      ctx.cursor = stepStart;
      if (ExecuteStatement(interp, ctx) == ResultFailed) return ResultFailed;
    }
  }
}

HandlerResult ExecBreak(Interpreter&, ExecContext& ctx) {
  ctx.breakFlag = 1;
  return ResultDone;
}

HandlerResult ExecReturn(Interpreter& interp, ExecContext& ctx) {
  const int t = NextToken(interp, ctx);
  UngetToken(ctx);
  if (t == TokOpenParen && EvalExpression(interp, ctx) == ResultFailed) return ResultFailed;
  ctx.returnFlag = 1;
  return ResultDone;
}

HandlerResult ExecLet(Interpreter& interp, ExecContext& ctx) { return EvalExpression(interp, ctx); }

HandlerResult ExecExit(Interpreter& interp, ExecContext&) {
  interp.runState = StateExit;
  return ResultDone;
}

HandlerResult ExecEnd(Interpreter& interp, ExecContext&) {
  interp.runState = StateEnd;
  return ResultDone;
}

}  // namespace vell
