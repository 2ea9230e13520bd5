// The state of one running text.
#pragma once

#include <cstdint>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/codes.h"
#include "core/vellarray.h"
#include "core/vellvar.h"

namespace vell {

// An immutable program text that running contexts share; a run never reads a
// text that somebody else may change or release meanwhile.
struct TokenCache;
struct TokenSlot;
namespace forms {
struct TextForms;
struct BuiltinExpr;
}  // namespace forms
struct FrameLayout;
struct ProgramText {
  std::u16string chars;  // c_str() supplies the terminating NUL the lexer stops at
  // The lexer's memory of this text's tokens, filled as they are read once
  // the text is read a second time; readBefore: some context has read it.
  mutable std::shared_ptr<TokenCache> tokens;
  mutable bool readBefore = false;
  // Holders of this text (see SharedText). Texts belong to the one thread
  // that runs the interpreter, so the count needs no atomic operations.
  mutable int32_t holders = 0;
};

// A counted reference to a ProgramText; the text goes with the last one.
class SharedText {
 public:
  SharedText() = default;
  SharedText(std::nullptr_t) {}
  explicit SharedText(const ProgramText* text) : text_(text) { Hold(); }
  SharedText(const SharedText& other) : text_(other.text_) { Hold(); }
  SharedText(SharedText&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
  SharedText& operator=(const SharedText& other) {
    if (text_ != other.text_) {
      const ProgramText* old = text_;
      text_ = other.text_;
      Hold();
      Release(old);
    }
    return *this;
  }
  SharedText& operator=(SharedText&& other) noexcept {
    if (this != &other) {
      const ProgramText* old = text_;
      text_ = other.text_;
      other.text_ = nullptr;
      Release(old);
    }
    return *this;
  }
  ~SharedText() { Release(text_); }

  const ProgramText* get() const { return text_; }
  const ProgramText* operator->() const { return text_; }
  const ProgramText& operator*() const { return *text_; }
  explicit operator bool() const { return text_ != nullptr; }
  void reset() { *this = SharedText(); }
  friend bool operator==(const SharedText& a, const SharedText& b) { return a.text_ == b.text_; }

 private:
  void Hold() const {
    if (text_ != nullptr) ++text_->holders;
  }
  static void Release(const ProgramText* text) noexcept {
    if (text != nullptr && --text->holders == 0) delete text;
  }

  const ProgramText* text_ = nullptr;
};
SharedText MakeSharedText(std::u16string_view text);

constexpr int kTokenCapacity = 256;  // 255 units and a NUL

// Where an IF chain stands for the ELSEIF and ELSE after it: none pending,
// a branch taken, or every condition so far false.
enum IfState : int32_t { IfNone = 0, IfTaken = 1, IfOpen = 2 };

struct ExecContext {
  SharedText source;           // keeps text alive for the whole run
  const char16_t* text = u"";  // source->chars.c_str()
  int32_t cursor = 0;
  int32_t tokenStart = 0;
  int32_t tokenLength = 0;  // of the text in token (below)
  // The lexer's memory of the token whose text is in token: where it starts
  // and ends and its code (start -1: none). A token given back and read
  // again is handed out from here instead of being scanned twice.
  int32_t lexedStart = -1;
  int32_t lexedEnd = 0;
  int32_t lexedCode = 0;
  int32_t lexedFact = -1;  // the token's facts in tokenCache, or -1
  // A remembered form left the reading state at the token remembered at
  // this position without copying its text into the buffer (-1: the buffer
  // holds the token). TokenView reads it from the memory; the lexer fills
  // the buffer before it hands the token out again.
  int32_t tokenPending = -1;
  // The token memory of the text this context reads (see token_cache.h),
  // found once per context; tokenSource keeps that text alive, so a text
  // given to the context later can never be mistaken for it.
  SharedText tokenSource;
  const char16_t* tokenText = nullptr;
  TokenCache* tokenCache = nullptr;
  TokenSlot* tokenSlots = nullptr;
  size_t tokenSlotCount = 0;
  forms::TextForms* textForms = nullptr;  // what is remembered of that text's positions
  int32_t scanHigh = -1;  // the furthest position this context scanned from
  // While a remembered built-in's handler runs: that built-in, whose
  // argument list its form knows (core/arguments.cpp uses it).
  const forms::BuiltinExpr* knownArguments = nullptr;
  vellvar value{0};
  vellarray* foundEntry = nullptr;
  int32_t localBase = 0;
  // The names of this text's frame (the locals from localBase), while it is
  // known; null when not (core/frame_layouts.h).
  const FrameLayout* layout = nullptr;
  // breakFlag and returnFlag are set one at a time and tested together
  // before every statement: apart, in different words, a test never reads
  // one word just written by two separate stores (which stalls the load).
  int32_t breakFlag = 0;
  int32_t ifState = 0;  // an IfState
  vellvar routineName{0};
  int32_t returnFlag = 0;
  int32_t nodeMode = 0;
  NodeRef thisNode;
  // Written only by the lexer and SetToken; what lies beyond tokenLength is
  // never read, so a new context fills nothing but the terminator. Last, so
  // that the fields read at every statement share a few cache lines.
  char16_t token[kTokenCapacity];

  ExecContext() { token[0] = 0; }
  ExecContext(const ExecContext&) = delete;
  ExecContext& operator=(const ExecContext&) = delete;

  // The scratch node for whole-node values (SET, CREATE), a node with an
  // empty key; made when first used, as most texts never use it.
  vellarray& Node() {
    if (!node_) node_.emplace();
    return *node_;
  }

  std::u16string_view TokenView() const {
    if (tokenPending >= 0) return PendingTokenView();
    return {token, static_cast<size_t>(tokenLength)};
  }
  bool TokenIs(std::u16string_view word) const { return TokenView() == word; }
  void SetToken(std::u16string_view text);  // cut to 255 units
  // The pending token's text, from the token memory (core/lexer.cpp).
  std::u16string_view PendingTokenView() const;

 private:
  std::optional<vellarray> node_;
};

}  // namespace vell
