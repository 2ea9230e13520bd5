// The lexer reads tokens straight from the running text: no token list, no
// allocation. Every token's text goes into the context's fixed buffer, cut to
// 255 units; the cursor always moves past the whole token.
#include "core/lexer.h"

#include "core/interpreter.h"

namespace {

constexpr int32_t kTokenMax = kTokenCapacity - 1;

inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool IsHexDigit(char16_t c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
inline bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
inline bool IsNameStart(char16_t c) { return IsLetter(c) || c == u'_' || c == u'$' || c == u'#'; }
inline bool IsNamePart(char16_t c) { return IsNameStart(c) || IsDigit(c); }

inline void Finish(ExecContext& ctx, int32_t length) {
  ctx.tokenLength = length;
  ctx.token[length] = 0;
}

int LexIdentifier(ExecContext& ctx, const char16_t* t, int32_t p) {
  int32_t n = 0;
  char16_t c;
  while (IsNamePart(c = t[p])) {
    if (n < kTokenMax) ctx.token[n++] = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    ++p;
  }
  ctx.cursor = p;
  Finish(ctx, n);
  if (n == 3 && ctx.token[0] == u'A' && ctx.token[1] == u'N' && ctx.token[2] == u'D') return TokAnd;
  if (n == 2 && ctx.token[0] == u'O' && ctx.token[1] == u'R') return TokOr;
  return TokIdentifier;
}

int LexHex(ExecContext& ctx, const char16_t* t, int32_t p) {
  // The 0 and the x or X, then hexadecimal digits as written.
  int32_t n = 0;
  ctx.token[n++] = t[p++];
  ctx.token[n++] = t[p++];
  while (IsHexDigit(t[p])) {
    if (n < kTokenMax) ctx.token[n++] = t[p];
    ++p;
  }
  ctx.cursor = p;
  Finish(ctx, n);
  return TokHexNumber;
}

int LexNumber(ExecContext& ctx, const char16_t* t, int32_t p) {
  int32_t n = 0;
  bool point = false;
  bool exponent = false;
  for (;;) {
    const char16_t c = t[p];
    if (IsDigit(c)) {
    } else if (c == u'.' && !point) {
      point = true;
    } else if ((c == u'e' || c == u'E') && !exponent) {
      exponent = true;
    } else if ((c == u'+' || c == u'-') && exponent && (t[p - 1] == u'e' || t[p - 1] == u'E')) {
      // A sign right after the exponent mark (the only E taken).
    } else {
      break;
    }
    if (n < kTokenMax) ctx.token[n++] = c;
    ++p;
  }
  ctx.cursor = p;
  Finish(ctx, n);
  return TokNumber;
}

int LexString(Interpreter& interp, ExecContext& ctx, const char16_t* t, int32_t p) {
  const int32_t open = p;
  ++p;  // the opening quote
  int32_t n = 0;
  for (;;) {
    char16_t c = t[p];
    if (c == 0) break;  // no closing quote before the end of the text
    if (c == u'"') {
      ctx.cursor = p + 1;
      Finish(ctx, n);
      return TokString;
    }
    if (c == u'\\') {
      const char16_t e = t[p + 1];
      if (e == 0) {
        ++p;  // a backslash right before the end: the literal ends here
        break;
      }
      switch (e) {
        case u'n': c = 10; break;
        case u'r': c = 13; break;
        case u'f': c = 12; break;
        default: c = e; break;  // \\, \" and any other character as written
      }
      p += 2;
    } else {
      ++p;
    }
    if (n < kTokenMax) ctx.token[n++] = c;
  }
  // An unterminated literal is a syntax error reported at its opening quote.
  ctx.cursor = open;
  Finish(ctx, 0);
  interp.runState = ErrorSyntax;
  return TokError;
}

}  // namespace

namespace {

int ScanToken(Interpreter& interp, ExecContext& ctx);

}  // namespace

int GetToken(Interpreter& interp, ExecContext& ctx) {
  // The token read last, read again (after UngetToken or a jump back): its
  // text is still in the buffer.
  if (ctx.cursor == ctx.lexedStart) {
    ctx.tokenStart = ctx.cursor;
    ctx.cursor = ctx.lexedEnd;
    return ctx.lexedCode;
  }
  const int code = ScanToken(interp, ctx);
  if (code == TokError) {
    ctx.lexedStart = -1;  // scanned again, so the error is set again
  } else {
    ctx.lexedStart = ctx.tokenStart;
    ctx.lexedEnd = ctx.cursor;
    ctx.lexedCode = code;
  }
  return code;
}

namespace {

int ScanToken(Interpreter& interp, ExecContext& ctx) {
  const char16_t* t = ctx.text;
  int32_t p = ctx.cursor;
  char16_t c;
  while ((c = t[p]) == u' ' || c == u'\t' || c == u'\r') ++p;
  ctx.tokenStart = p;
  ctx.cursor = p;
  ctx.tokenLength = 0;
  ctx.token[0] = 0;
  switch (c) {
    case 0: return TokEnd;
    case u'\n': ctx.cursor = p + 1; return TokNewline;
    case u'{': ctx.cursor = p + 1; return TokBlockOpen;
    case u'}': ctx.cursor = p + 1; return TokBlockClose;
    case u'+': ctx.cursor = p + 1; return TokPlus;
    case u'-': ctx.cursor = p + 1; return TokMinus;
    case u'*': ctx.cursor = p + 1; return TokTimes;
    case u'/': ctx.cursor = p + 1; return TokDivide;
    case u',': ctx.cursor = p + 1; return TokComma;
    case u'(': ctx.cursor = p + 1; return TokOpenParen;
    case u')': ctx.cursor = p + 1; return TokCloseParen;
    case u'[': ctx.cursor = p + 1; return TokOpenBracket;
    case u']': ctx.cursor = p + 1; return TokCloseBracket;
    case u'\'': ctx.cursor = p + 1; return TokComment;
    case u'.': ctx.cursor = p + 1; return TokPeriod;
    case u'>':
      if (t[p + 1] == u'=') { ctx.cursor = p + 2; return TokGreaterEqual; }
      ctx.cursor = p + 1;
      return TokGreater;
    case u'<':
      if (t[p + 1] == u'=') { ctx.cursor = p + 2; return TokLessEqual; }
      ctx.cursor = p + 1;
      return TokLess;
    case u'=':
      if (t[p + 1] == u'=') { ctx.cursor = p + 2; return TokEqual; }
      ctx.cursor = p + 1;
      return TokAssign;
    case u'!':
      if (t[p + 1] == u'=') { ctx.cursor = p + 2; return TokNotEqual; }
      break;  // a lone ! begins no token
    case u'"':
      return LexString(interp, ctx, t, p);
    default:
      if (c == u'0' && (t[p + 1] == u'x' || t[p + 1] == u'X')) return LexHex(ctx, t, p);
      if (IsDigit(c)) return LexNumber(ctx, t, p);
      if (IsNameStart(c)) return LexIdentifier(ctx, t, p);
      break;
  }
  interp.runState = ErrorUndefined;
  return TokError;
}

}  // namespace

int NextToken(Interpreter& interp, ExecContext& ctx) {
  for (;;) {
    const int t = GetToken(interp, ctx);
    if (t == TokNewline) continue;
    if (t == TokComment) {
      SkipLine(ctx);
      continue;
    }
    return t;
  }
}

void UngetToken(ExecContext& ctx) { ctx.cursor = ctx.tokenStart; }

int SkipLine(ExecContext& ctx) {
  ctx.lexedStart = -1;  // the buffer no longer holds the last token
  const char16_t* t = ctx.text;
  int32_t p = ctx.cursor;
  for (;;) {
    const char16_t c = t[p];
    if (c == u'\n') {
      ctx.cursor = p + 1;
      ctx.token[0] = u'\n';
      Finish(ctx, 1);
      return TokNewline;
    }
    if (c == 0) {
      ctx.cursor = p;
      Finish(ctx, 0);
      return TokEnd;
    }
    ++p;
  }
}

int SkipBlock(Interpreter& interp, ExecContext& ctx) {
  // Counts open braces instead of recursing, so any nesting depth is safe.
  int64_t depth = 1;
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokBlockOpen) {
      ++depth;
    } else if (t == TokBlockClose) {
      if (--depth == 0) return TokBlockClose;
    } else if (t == TokError || t == TokEnd) {
      interp.runState = ErrorUnbalanced;
      return ResultFailed;
    }
  }
}

int SkipStatement(Interpreter& interp, ExecContext& ctx) {
  const int t = NextToken(interp, ctx);
  if (t != TokBlockOpen) return t;
  return SkipBlock(interp, ctx) == TokBlockClose ? ResultDone : ResultFailed;
}

int ScanToToken(Interpreter& interp, ExecContext& ctx, int target) {
  int depth = 0;
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokError) return ResultFailed;
    if (t == TokEnd) {
      interp.runState = ErrorSyntax;
      return ResultFailed;
    }
    if (target == TokComma) {
      if (t == TokOpenParen) ++depth;
      else if (t == TokCloseParen) --depth;
    }
    if (t == target && depth == 0) return target;
  }
}
