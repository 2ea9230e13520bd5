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

// Each scanner fills the token buffer and returns the token's code; end is
// set to the position after the token.
int LexIdentifier(ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
  int32_t n = 0;
  char16_t c;
  while (IsNamePart(c = t[p])) {
    if (n < kTokenMax) ctx.token[n++] = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    ++p;
  }
  end = p;
  Finish(ctx, n);
  if (n == 3 && ctx.token[0] == u'A' && ctx.token[1] == u'N' && ctx.token[2] == u'D') return TokAnd;
  if (n == 2 && ctx.token[0] == u'O' && ctx.token[1] == u'R') return TokOr;
  return TokIdentifier;
}

int LexHex(ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
  // The 0 and the x or X, then hexadecimal digits as written.
  int32_t n = 0;
  ctx.token[n++] = t[p++];
  ctx.token[n++] = t[p++];
  while (IsHexDigit(t[p])) {
    if (n < kTokenMax) ctx.token[n++] = t[p];
    ++p;
  }
  end = p;
  Finish(ctx, n);
  return TokHexNumber;
}

int LexNumber(ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
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
  end = p;
  Finish(ctx, n);
  return TokNumber;
}

int LexString(Interpreter& interp, ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
  const int32_t open = p;
  ++p;  // the opening quote
  int32_t n = 0;
  for (;;) {
    char16_t c = t[p];
    if (c == 0) break;  // no closing quote before the end of the text
    if (c == u'"') {
      end = p + 1;
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
  end = open;
  Finish(ctx, 0);
  interp.runState = ErrorSyntax;
  return TokError;
}

}  // namespace

namespace {

// Scans the token that begins at start (blanks already passed over).
int ScanToken(Interpreter& interp, ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
  const char16_t c = t[p];
  end = p + 1;
  switch (c) {
    case 0: end = p; return TokEnd;
    case u'\n': return TokNewline;
    case u'{': return TokBlockOpen;
    case u'}': return TokBlockClose;
    case u'+': return TokPlus;
    case u'-': return TokMinus;
    case u'*': return TokTimes;
    case u'/': return TokDivide;
    case u',': return TokComma;
    case u'(': return TokOpenParen;
    case u')': return TokCloseParen;
    case u'[': return TokOpenBracket;
    case u']': return TokCloseBracket;
    case u'\'': return TokComment;
    case u'.': return TokPeriod;
    case u'>':
      if (t[p + 1] == u'=') { end = p + 2; return TokGreaterEqual; }
      return TokGreater;
    case u'<':
      if (t[p + 1] == u'=') { end = p + 2; return TokLessEqual; }
      return TokLess;
    case u'=':
      if (t[p + 1] == u'=') { end = p + 2; return TokEqual; }
      return TokAssign;
    case u'!':
      if (t[p + 1] == u'=') { end = p + 2; return TokNotEqual; }
      break;  // a lone ! begins no token
    case u'"':
      return LexString(interp, ctx, t, p, end);
    default:
      if (c == u'0' && (t[p + 1] == u'x' || t[p + 1] == u'X')) return LexHex(ctx, t, p, end);
      if (IsDigit(c)) return LexNumber(ctx, t, p, end);
      if (IsNameStart(c)) return LexIdentifier(ctx, t, p, end);
      break;
  }
  end = p;  // the cursor stays on a character that begins no token
  interp.runState = ErrorUndefined;
  return TokError;
}

}  // namespace

int GetToken(Interpreter& interp, ExecContext& ctx) {
  int32_t p = ctx.cursor;
  // The token read last, read again (after UngetToken or a jump back): its
  // text is still in the buffer.
  if (p == ctx.lexedStart) {
    ctx.tokenStart = p;
    ctx.cursor = ctx.lexedEnd;
    return ctx.lexedCode;
  }
  const char16_t* t = ctx.text;
  char16_t c;
  while ((c = t[p]) == u' ' || c == u'\t' || c == u'\r') ++p;
  ctx.tokenLength = 0;
  ctx.token[0] = 0;
  int32_t end;
  const int code = ScanToken(interp, ctx, t, p, end);
  ctx.tokenStart = p;
  ctx.cursor = end;
  if (code == TokError) {
    ctx.lexedStart = -1;  // scanned again, so the error is set again
  } else {
    ctx.lexedStart = p;
    ctx.lexedEnd = end;
    ctx.lexedCode = code;
  }
  return code;
}

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
