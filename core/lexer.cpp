// The lexer reads tokens straight from the running text: no token list, no
// allocation. Every token's text goes into the context's fixed buffer, cut to
// 255 units; the cursor always moves past the whole token.
#include "core/lexer.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>

#include "core/interpreter_state.h"
#include "core/reference_mode.h"
#include "core/remembered_forms.h"
#include "core/token_cache.h"

namespace vell {

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

// A character that begins no token, or a NUL inside a literal before the
// text's end: undefined error, the cursor stays on it and no token is read.
int NoToken(Interpreter& interp, ExecContext& ctx, int32_t p, int32_t& end) {
  end = p;
  Finish(ctx, 0);
  interp.runState = ErrorUndefined;
  return TokError;
}

int LexString(Interpreter& interp, ExecContext& ctx, const char16_t* t, int32_t p, int32_t& end) {
  const int32_t open = p;
  ++p;  // the opening quote
  int32_t n = 0;
  for (;;) {
    char16_t c = t[p];
    if (c == 0) {
      if (AtTextEnd(ctx, p)) break;  // no closing quote before the end of the text
      return NoToken(interp, ctx, p, end);
    }
    if (c == u'"') {
      end = p + 1;
      Finish(ctx, n);
      return TokString;
    }
    if (c == u'\\') {
      const char16_t e = t[p + 1];
      if (e == 0) {
        ++p;  // a backslash right before the end: the literal ends here
        if (AtTextEnd(ctx, p)) break;
        return NoToken(interp, ctx, p, end);
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
    case 0:
      if (!AtTextEnd(ctx, p)) break;  // a NUL inside the text begins no token
      end = p;
      return TokEnd;
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
  return NoToken(interp, ctx, p, end);
}

}  // namespace

namespace {

// Texts longer than this many units are scanned every time instead of
// keeping 32 bytes per position for them.
constexpr size_t kMaxCachedText = size_t(1) << 22;

// Binds ctx to the memory of the text it holds, which has one.
void Attach(Interpreter& interp, ExecContext& ctx) {
  ctx.tokenSource = ctx.source;
  ctx.tokenText = ctx.text;
  ctx.tokenCache = ctx.source->tokens.get();
  ctx.tokenSlots = ctx.tokenCache->slots;
  ctx.tokenSlotCount = ctx.tokenCache->slotCount;
  ctx.textForms = &forms::FormsOf(interp, *ctx.tokenCache, ctx.tokenCache->forms.get());
}

// Binds ctx to the token memory of the text it reads, making the memory
// when the text is being read again (by this context going back, or by a
// second context); false when there is no memory to use (yet), the context
// reads something other than the text it holds, or the text is very long.
bool BindCache(Interpreter& interp, ExecContext& ctx, int32_t from) {
  const ProgramText* source = ctx.source.get();
  if (ctx.tokenSource.get() == source && source != nullptr && ctx.tokenText == ctx.text) return true;
  ctx.tokenSource.reset();
  ctx.tokenText = nullptr;
  ctx.tokenCache = nullptr;
  ctx.tokenSlots = nullptr;
  ctx.tokenSlotCount = 0;
  ctx.textForms = nullptr;
  if (source == nullptr || ctx.text != source->chars.c_str()) return false;
  if (source->tokens == nullptr) {
    // A text read once, start to end, is only scanned.
    const bool again = ctx.scanHigh < 0 ? source->readBefore : from <= ctx.scanHigh;
    source->readBefore = true;
    if (from > ctx.scanHigh) ctx.scanHigh = from;
    if (!again) return false;
    const size_t count = source->chars.size() + 1;
    if (count > kMaxCachedText) return false;
    auto* slots = static_cast<TokenSlot*>(std::calloc(count, sizeof(TokenSlot)));
    if (slots == nullptr) return false;
    auto cache = std::make_shared<TokenCache>();
    cache->slots = slots;
    cache->slotCount = count;
    source->tokens = std::move(cache);
  }
  Attach(interp, ctx);
  return true;
}

// Remembers the token just scanned; returns its facts' index or -1.
int32_t Remember(TokenCache& cache, int32_t from, int32_t start, int32_t end, int code,
                 const ExecContext& ctx) {
  TokenSlot& known = cache.slots[size_t(start)];
  if (known.code != 0) {
    // The same token, reached from blanks before it.
    cache.slots[size_t(from)] = known;
    return known.fact;
  }
  TokenSlot slot{};
  slot.start = start;
  slot.end = end;
  slot.code = int16_t(code);
  slot.length = int16_t(ctx.tokenLength);
  slot.fact = -1;
  const bool longText = ctx.tokenLength > int32_t(std::size(slot.text));
  if (longText || code == TokIdentifier || code == TokNumber || code == TokHexNumber) {
    if (cache.facts.size() >= size_t(INT32_MAX) ||
        (longText && cache.pool.size() + size_t(ctx.tokenLength) >= size_t(UINT32_MAX))) {
      return -1;  // not remembered: scanned again next time
    }
    TokenCache::Fact fact;
    if (longText) {
      fact.textOffset = uint32_t(cache.pool.size());
      cache.pool.append(ctx.token, size_t(ctx.tokenLength));
    }
    slot.fact = int32_t(cache.facts.size());
    cache.facts.push_back(fact);
  }
  if (!longText) {
    for (int32_t i = 0; i < ctx.tokenLength; ++i) slot.text[i] = ctx.token[i];
  }
  known = slot;
  cache.slots[size_t(from)] = slot;
  return slot.fact;
}

// Scans the token at the cursor and remembers it in the text's cache.
__attribute__((noinline)) int ScanAtCursor(Interpreter& interp, ExecContext& ctx) {
  int32_t p = ctx.cursor;
  const int32_t from = p;
  const char16_t* t = ctx.text;
  char16_t c;
  while ((c = t[p]) == u' ' || c == u'\t' || c == u'\r') ++p;
  ctx.tokenLength = 0;
  ctx.token[0] = 0;
  ctx.tokenPending = -1;
  int32_t end;
  const int code = ScanToken(interp, ctx, t, p, end);
  ctx.tokenStart = p;
  ctx.cursor = end;
  ctx.lexedFact = -1;
  if (code == TokError || ReferenceMode()) {
    // An error is scanned again, so that its code is set again; in the
    // reference mode every token is scanned every time it is read.
    ctx.lexedStart = -1;
  } else {
    ctx.lexedStart = p;
    ctx.lexedEnd = end;
    ctx.lexedCode = code;
    if (from >= 0 && BindCache(interp, ctx, from) && size_t(from) < ctx.tokenSlotCount &&
        size_t(p) < ctx.tokenSlotCount) {
      ctx.lexedFact = Remember(*ctx.tokenCache, from, p, end, code, ctx);
    }
  }
  return code;
}

}  // namespace

void BindKnownTokens(Interpreter& interp, ExecContext& ctx) {
  const ProgramText* source = ctx.source.get();
  if (source == nullptr || source->tokens == nullptr || ReferenceMode()) return;
  if (ctx.text != source->chars.c_str()) return;
  Attach(interp, ctx);
}

namespace {

const char16_t* RememberedText(const ExecContext& ctx, const TokenSlot& slot) {
  if (slot.length <= int32_t(std::size(slot.text))) return slot.text;
  return ctx.tokenCache->pool.data() + ctx.tokenCache->facts[size_t(slot.fact)].textOffset;
}

}  // namespace

std::u16string_view ExecContext::PendingTokenView() const {
  const TokenSlot& slot = tokenSlots[tokenPending];
  return {RememberedText(*this, slot), size_t(slot.length)};
}

void FillPendingToken(ExecContext& ctx) {
  const TokenSlot& slot = ctx.tokenSlots[ctx.tokenPending];
  std::memcpy(ctx.token, RememberedText(ctx, slot), size_t(slot.length) * sizeof(char16_t));
  ctx.token[slot.length] = 0;
  ctx.tokenPending = -1;
}

int LexAtCursor(Interpreter& interp, ExecContext& ctx) {
  const int32_t p = ctx.cursor;
  // The memory describes the text at tokenText, which tokenSource keeps alive
  // and unchanged: no other text can be at that address meanwhile.
  if (ctx.text != ctx.tokenText || size_t(p) >= ctx.tokenSlotCount) return ScanAtCursor(interp, ctx);
  const TokenSlot& slot = ctx.tokenSlots[p];
  if (slot.code == 0) return ScanAtCursor(interp, ctx);
  const int32_t n = slot.length;
  if (n <= int32_t(std::size(slot.text))) {
    std::memcpy(ctx.token, slot.text, sizeof slot.text);
  } else {
    std::memcpy(ctx.token, RememberedText(ctx, slot), size_t(n) * sizeof(char16_t));
  }
  return TakeRememberedToken(ctx, slot);
}

int NextTokenAfterLines(Interpreter& interp, ExecContext& ctx, int t) {
  // t, the token just read, is a line end or a comment.
  for (;;) {
    if (t == TokComment) {
      SkipLine(ctx);
    } else if (t != TokNewline) {
      return t;
    }
    t = GetToken(interp, ctx);
  }
}

int SkipLine(ExecContext& ctx) {
  ctx.lexedStart = -1;  // the buffer no longer holds the last token
  ctx.lexedFact = -1;
  ctx.tokenPending = -1;
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
    if (c == 0 && AtTextEnd(ctx, p)) {
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
      return TokError;
    }
  }
}

HandlerResult SkipStatement(Interpreter& interp, ExecContext& ctx) {
  // A block passed over once from here ends at the same } every time.
  int32_t* known = nullptr;
  if (ctx.text == ctx.tokenText && size_t(ctx.cursor) < ctx.tokenSlotCount) {
    known = &ctx.textForms->skipTo[size_t(ctx.cursor)];
    if (*known >= 0) {
      forms::ReadAgain(ctx, {*known, false});
      return ResultDone;
    }
  }
  const int t = NextToken(interp, ctx);
  if (t != TokBlockOpen) return ResultOfToken(t);
  if (SkipBlock(interp, ctx) != TokBlockClose) return ResultFailed;
  if (known != nullptr && size_t(ctx.tokenStart) < ctx.tokenSlotCount &&
      ctx.tokenSlots[ctx.tokenStart].code == TokBlockClose) {
    *known = ctx.tokenStart;
  }
  return ResultDone;
}

int ScanToToken(Interpreter& interp, ExecContext& ctx, int target) {
  int depth = 0;
  for (;;) {
    const int t = NextToken(interp, ctx);
    if (t == TokError) return TokError;
    if (t == TokEnd) {
      interp.runState = ErrorSyntax;
      return TokError;
    }
    if (target == TokComma) {
      if (t == TokOpenParen) ++depth;
      else if (t == TokCloseParen) --depth;
    }
    if (t == target && depth == 0) return target;
  }
}

}  // namespace vell
