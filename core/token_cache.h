// What the lexer remembers about the tokens of one immutable text: for every
// position a scan started from, the token found there (code, start, end and
// its text as the token buffer receives it), so loops and SUB bodies that are
// read again and again are scanned only once. Filled lazily; a token that
// failed to scan is never remembered, so its error is raised again.
//
// The evaluator keeps facts about a token here too: the value of a number
// and the result of the built-in name lookup.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/exec_context.h"
#include "core/interpreter_state.h"
#include "core/remembered_forms.h"
#include "core/token_slot.h"

namespace vell {

struct TokenCache {
  struct Fact {
    uint32_t textOffset = 0;  // into pool, for texts longer than a slot holds
    // The built-in lookup for an identifier, valid while the built-in table
    // it was made against is unchanged (same table, stamp and size).
    const void* builtinTable = nullptr;
    uint64_t builtinStamp = 0;
    size_t builtinCount = 0;
    BuiltinHandler builtin = nullptr;
    // A number token's value.
    bool hasNumber = false;
    double number = 0.0;
  };
  TokenCache() = default;
  TokenCache(const TokenCache&) = delete;
  TokenCache& operator=(const TokenCache&) = delete;
  ~TokenCache() { std::free(slots); }

  TokenSlot* slots = nullptr;  // one per position and one for the end
  size_t slotCount = 0;
  std::vector<Fact> facts;
  std::u16string pool;  // texts longer than a slot holds
  // What is remembered about the positions' statements and expressions.
  std::unique_ptr<forms::TextForms> forms;
};

// The facts about the token now in ctx's token buffer, or null when the
// buffer holds something else (SetToken, a skipped line) or the text has no
// cache.
// (lexedFact is -1 unless the buffer holds the token the lexer read last
// from the memory of the text at tokenText, whose facts are never taken
// away, so the index stays valid while that is the text being read.)
inline TokenCache::Fact* CurrentTokenFact(ExecContext& ctx) {
  if (ctx.lexedFact < 0 || ctx.text != ctx.tokenText) return nullptr;
  return ctx.tokenCache->facts.data() + ctx.lexedFact;
}

// Changes whenever a built-in name is registered anywhere, so that cached
// lookups made against an older table are not trusted.
extern uint64_t gBuiltinStamp;

// The built-in handler named by the identifier in ctx's token buffer, or null.
inline BuiltinHandler FindBuiltin(Interpreter& interp, ExecContext& ctx) {
  if (interp.builtins.empty()) return nullptr;
  TokenCache::Fact* fact = CurrentTokenFact(ctx);
  if (fact != nullptr && fact->builtinTable == &interp.builtins &&
      fact->builtinStamp == gBuiltinStamp && fact->builtinCount == interp.builtins.size()) {
    return fact->builtin;
  }
  const auto found = interp.builtins.find(ctx.TokenView());
  BuiltinHandler handler = found != interp.builtins.end() ? found->second : nullptr;
  if (fact != nullptr) {
    fact->builtinTable = &interp.builtins;
    fact->builtinStamp = gBuiltinStamp;
    fact->builtinCount = interp.builtins.size();
    fact->builtin = handler;
  }
  return handler;
}

}  // namespace vell
