// The lexer: reads tokens straight from the running text.
#pragma once

#include <cstring>

#include "exec_context.h"
#include "token_slot.h"

struct Interpreter;

enum TokenCode : int {
  TokError = 1,
  TokEnd = 2,
  TokNewline = 3,
  TokBlockOpen = 4,
  TokBlockClose = 5,
  TokEqual = 6,
  TokGreaterEqual = 7,
  TokLessEqual = 8,
  TokNotEqual = 9,
  TokPlus = 10,
  TokMinus = 11,
  TokTimes = 12,
  TokDivide = 13,
  TokGreater = 15,
  TokLess = 16,
  TokAssign = 17,
  TokComma = 18,
  TokOpenParen = 19,
  TokCloseParen = 20,
  TokOpenBracket = 21,
  TokCloseBracket = 22,
  TokComment = 25,
  TokPeriod = 26,
  TokAnd = 27,
  TokOr = 28,
  TokNumber = 29,
  TokHexNumber = 32,
  TokString = 33,
  TokIdentifier = 34,
};

// Finishes reading a remembered token whose text is already in the token
// buffer: terminates it and moves the cursor past it.
inline int TakeRememberedToken(ExecContext& ctx, const TokenSlot& slot) {
  ctx.token[slot.length] = 0;
  ctx.tokenLength = slot.length;
  ctx.tokenStart = slot.start;
  ctx.cursor = slot.end;
  ctx.lexedStart = slot.start;
  ctx.lexedEnd = slot.end;
  ctx.lexedCode = slot.code;
  ctx.lexedFact = slot.fact;
  return slot.code;
}

// Reads the token at the cursor when it is not the one read last.
int LexAtCursor(Interpreter& interp, ExecContext& ctx);
int NextTokenAfterLines(Interpreter& interp, ExecContext& ctx, int t);

// The token read last, read again (after UngetToken or a jump back) comes
// straight from the buffer that still holds its text; a short token the
// text's token memory knows comes from there.
inline int GetToken(Interpreter& interp, ExecContext& ctx) {
  const int32_t p = ctx.cursor;
  if (p == ctx.lexedStart) {
    ctx.tokenStart = p;
    ctx.cursor = ctx.lexedEnd;
    return ctx.lexedCode;
  }
  if (ctx.text == ctx.tokenText && size_t(p) < ctx.tokenSlotCount) {
    const TokenSlot& slot = ctx.tokenSlots[p];
    const int32_t n = slot.length;
    if (slot.code != 0 && n <= 8) {
      std::memcpy(ctx.token, slot.text, sizeof slot.text);
      return TakeRememberedToken(ctx, slot);
    }
  }
  return LexAtCursor(interp, ctx);
}

// The next token that is no line end or comment.
inline int NextToken(Interpreter& interp, ExecContext& ctx) {
  const int t = GetToken(interp, ctx);
  if (t != TokNewline && t != TokComment) return t;
  return NextTokenAfterLines(interp, ctx, t);
}

inline void UngetToken(ExecContext& ctx) { ctx.cursor = ctx.tokenStart; }
int SkipStatement(Interpreter& interp, ExecContext& ctx);
int SkipBlock(Interpreter& interp, ExecContext& ctx);
int SkipLine(ExecContext& ctx);
int ScanToToken(Interpreter& interp, ExecContext& ctx, int target);
