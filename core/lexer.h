// The lexer: reads tokens straight from the running text.
#pragma once

#include <cstring>

#include "core/exec_context.h"
#include "core/token_slot.h"

namespace vell {

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

// Whether position p is the running text's real end, its terminating NUL.
// A NUL before it is a character like any other: it begins no token.
inline bool AtTextEnd(const ExecContext& ctx, int32_t p) {
  const ProgramText* source = ctx.source.get();
  return source == nullptr || ctx.text != source->chars.c_str() ||
         size_t(p) >= source->chars.size();
}

// Finishes reading a remembered token whose text is already in the token
// buffer: terminates it and moves the cursor past it.
inline int TakeRememberedToken(ExecContext& ctx, const TokenSlot& slot) {
  ctx.tokenPending = -1;
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

// A context starting on a text whose tokens are remembered reads them from
// the start, without scanning its first token again.
void BindKnownTokens(Interpreter& interp, ExecContext& ctx);

// Copies the text of the token a remembered form left pending into the buffer.
void FillPendingToken(ExecContext& ctx);

// Reads the token at the cursor when it is not the one read last.
int LexAtCursor(Interpreter& interp, ExecContext& ctx);
int NextTokenAfterLines(Interpreter& interp, ExecContext& ctx, int t);

// The token read last, read again (after UngetToken or a jump back) comes
// straight from the buffer that still holds its text; a short token the
// text's token memory knows comes from there.
inline int GetToken(Interpreter& interp, ExecContext& ctx) {
  const int32_t p = ctx.cursor;
  if (p == ctx.lexedStart) {
    if (ctx.tokenPending >= 0) FillPendingToken(ctx);
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

// What a statement handler answers when the token that ends its work is the
// last one it read: a token that could not be read fails, the text's end ends
// the text, a closing brace closes the block, anything else is done. The one
// place where a token code becomes a handler result.
constexpr HandlerResult ResultOfToken(int token) {
  switch (token) {
    case TokError: return ResultFailed;
    case TokEnd: return ResultTextEnded;
    case TokBlockClose: return ResultBlockClosed;
    default: return ResultDone;
  }
}

// Passes over one statement: a block with everything nested in it, or the
// single token that stands in its place.
HandlerResult SkipStatement(Interpreter& interp, ExecContext& ctx);
// Passes over the rest of a block whose opening brace was read: TokBlockClose,
// or TokError (runState ErrorUnbalanced) when the text ends first.
int SkipBlock(Interpreter& interp, ExecContext& ctx);
// Passes over the rest of the line: TokNewline, or TokEnd at the text's end.
int SkipLine(ExecContext& ctx);
// Reads on to target (outside parentheses, for a comma): target, or TokError
// when the text ends first (runState ErrorSyntax) or a token cannot be read.
int ScanToToken(Interpreter& interp, ExecContext& ctx, int target);

}  // namespace vell
