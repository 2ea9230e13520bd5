// The state of one running text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/codes.h"
#include "core/vellarray.h"
#include "core/vellvar.h"

namespace vell {

// An immutable program text that running contexts share; a run never reads a
// text that somebody else may change or release meanwhile.
struct TokenCache;
struct TokenSlot;
struct ProgramText {
  std::u16string chars;  // c_str() supplies the terminating NUL the lexer stops at
  // The lexer's memory of this text's tokens, filled as they are read once
  // the text is read a second time; readBefore: some context has read it.
  mutable std::shared_ptr<TokenCache> tokens;
  mutable bool readBefore = false;
};
using SharedText = std::shared_ptr<const ProgramText>;
SharedText MakeSharedText(std::u16string_view text);

constexpr int kTokenCapacity = 256;  // 255 units and a NUL

struct ExecContext {
  SharedText source;           // keeps text alive for the whole run
  const char16_t* text = u"";  // source->chars.c_str()
  int32_t cursor = 0;
  int32_t tokenStart = 0;
  char16_t token[kTokenCapacity] = {};  // written only by the lexer and SetToken
  int32_t tokenLength = 0;
  // The lexer's memory of the token whose text is in token: where it starts
  // and ends and its code (start -1: none). A token given back and read
  // again is handed out from here instead of being scanned twice.
  int32_t lexedStart = -1;
  int32_t lexedEnd = 0;
  int32_t lexedCode = 0;
  int32_t lexedFact = -1;  // the token's facts in tokenCache, or -1
  // The token memory of the text this context reads (see token_cache.h),
  // found once per context; tokenSource keeps that text alive, so a text
  // given to the context later can never be mistaken for it.
  SharedText tokenSource;
  const char16_t* tokenText = nullptr;
  TokenCache* tokenCache = nullptr;
  TokenSlot* tokenSlots = nullptr;
  size_t tokenSlotCount = 0;
  int32_t scanHigh = -1;  // the furthest position this context scanned from
  vellvar value{0};
  vellarray node;
  vellarray* foundEntry = nullptr;
  int32_t localBase = 0;
  int32_t breakFlag = 0;
  int32_t returnFlag = 0;
  vellvar routineName{0};
  int32_t ifState = 0;
  int32_t nodeMode = 0;
  NodeRef thisNode;

  std::u16string_view TokenView() const { return {token, static_cast<size_t>(tokenLength)}; }
  bool TokenIs(std::u16string_view word) const { return TokenView() == word; }
  void SetToken(std::u16string_view text);  // cut to 255 units
};

}  // namespace vell
