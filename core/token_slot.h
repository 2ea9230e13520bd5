// One position of a text in the lexer's token memory (see token_cache.h).
#pragma once

#include <cstdint>

namespace vell {

// code 0: nothing known yet about a token read from this position.
struct TokenSlot {
  int32_t start;
  int32_t end;
  int16_t code;
  int16_t length;     // units of the token's text (at most 255)
  int32_t fact;       // index into TokenCache::facts, or -1
  char16_t text[8];   // the text when it has at most 8 units, zero-padded
};
static_assert(sizeof(TokenSlot) == 32);

}  // namespace vell
