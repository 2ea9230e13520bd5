// Helpers shared by the name lookup, the reference walk and the declarations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/exec_context.h"
#include "core/frame_layouts.h"
#include "core/interpreter_state.h"
#include "core/vellarray.h"
#include "core/vellvar.h"

namespace vell {

namespace names {

// INPUT's answer and index values are held under names that begin with this
// mark: "#INPUT0" (the answer), "#INPUT1" and on (the index values), or the
// same with the other prefix when the assigned name itself begins like them.
constexpr char16_t kInputValueMark = u'#';
constexpr std::u16string_view kInputValuePrefix = u"#INPUT";
constexpr std::u16string_view kInputValueOtherPrefix = u"#ANSWER";

// Counts every change that may give a name another entry, but for the
// frames' own: a table entry freed or made, a global declared, a SUB
// defined, INPUT's held values, a whole node stored. A global resolved while
// it stays the same (and no local bears the name) resolves the same way
// again. Never 0, and shared by every interpreter, so that a resolution made
// for one that is gone is never taken for another.
extern uint64_t gNamesEpoch;
inline void NamesChanged() { ++gNamesEpoch; }

// Counts the frames' own changes of names: a local named (DIM, a parameter)
// and locals popped. While neither epoch changes, every name resolves as it
// did.
extern uint64_t gFramesEpoch;

// The hash by which the live locals' names are counted.
inline uint16_t NameBucket(std::u16string_view name) {
  uint32_t h = 2166136261u;
  for (char16_t c : name) h = (h ^ c) * 16777619u;
  return uint16_t((h ^ (h >> 8) ^ (h >> 16)) % LocalNameCounts::kBuckets);
}

// Counts the live locals' names afresh, when a change of names left them stale.
void CountLocalNames(Interpreter& interp);
inline LocalNameCounts& FreshLocalNames(Interpreter& interp) {
  if (interp.localNames.epoch != gNamesEpoch) CountLocalNames(interp);
  return interp.localNames;
}

// The local at index (live) has just been given a name of that bucket
// (DIM, a parameter), or none (LocalNameCounts::kNone: a value pushed).
inline void NoteLocalBucket(Interpreter& interp, int32_t index, uint16_t named) {
  LocalNameCounts& names = interp.localNames;
  uint16_t& bucket = names.bucketOf[index];
  if (named == LocalNameCounts::kNone && bucket == LocalNameCounts::kNone) return;  // nothing named
  ++gFramesEpoch;
  if (names.epoch != gNamesEpoch) return;  // counted afresh when needed
  if (bucket != LocalNameCounts::kNone) --names.count[bucket];
  bucket = named;
  if (bucket != LocalNameCounts::kNone) ++names.count[bucket];
}
inline void NoteLocalName(Interpreter& interp, int32_t index, std::u16string_view name) {
  NoteLocalBucket(interp, index, name.empty() ? LocalNameCounts::kNone : NameBucket(name));
}

// The frame's layout after a local named `name` (empty: nameless) is pushed
// at its end; unknown (null) when the frame was not known or the local does
// not lie right after it.
inline const FrameLayout* Pushed(const Interpreter& interp, const ExecContext& ctx,
                                 std::u16string_view name) {
  if (ctx.layout == nullptr || interp.localCount != ctx.localBase + ctx.layout->size) return nullptr;
  return Extend(ctx.layout, name);
}

// Pops the locals above count (the frame of a text that has ended).
inline void PopLocals(Interpreter& interp, int32_t count) {
  const int32_t old = interp.localCount;
  if (old == count) return;
  interp.localCount = count;
  ++gFramesEpoch;
  LocalNameCounts& names = interp.localNames;
  if (count > old) {
    NamesChanged();  // locals come back into sight: count them afresh
    return;
  }
  if (names.epoch != gNamesEpoch) return;
  const int32_t top = old > kTableNodes ? kTableNodes : old;
  for (int32_t i = count < 0 ? 0 : count; i < top; ++i) {
    uint16_t& bucket = names.bucketOf[i];
    if (bucket != LocalNameCounts::kNone) {
      --names.count[bucket];
      bucket = LocalNameCounts::kNone;
    }
  }
}

// Entry keys are names as the lexer delivers them: wide text compared exactly.
// The stored length settles most mismatches without reading the text.
inline bool KeyIs(const vellvar& key, std::u16string_view name) {
  if (key.kind != KindWide || size_t(key.Length()) != name.size()) return false;
  const char16_t* k = reinterpret_cast<const char16_t*>(key.Bytes());
  const size_t n = name.size();
  for (size_t i = 0; i < n; ++i) {
    if (k[i] != name[i]) return false;
  }
  return true;
}

inline std::u16string_view NameOf(const vellvar& name) {
  return name.kind == KindWide ? name.WideView() : std::u16string_view();
}

inline void SetEmptyKey(vellarray& entry) {
  if (entry.Key().kind != KindWide || entry.Key().Length() != 0) entry.SetKey(u"");
}

// A table entry made free: no children, kind 0, empty wide key and value.
void FreeEntry(vellarray& entry);

// The globals are searched from index 0 up to the first free entry.
struct GlobalLookup {
  vellarray* entry;  // the entry named so, else the first free one; null: all in use
  bool named;        // entry holds the name
};
inline GlobalLookup FindGlobal(Interpreter& interp, std::u16string_view name) {
  for (int i = 0; i < kTableEntries; ++i) {
    vellarray& entry = interp.globals[i];
    if (entry.kind == NodeFree) return {&entry, false};
    if (KeyIs(entry.Key(), name)) return {&entry, true};
  }
  return {nullptr, false};
}

// The text of a SUB entry as an immutable text for ExecuteText.
SharedText SubText(vellarray& entry);

// Index values of a reference kept as values instead of being spelled into
// the reference text: each goes between the brackets at its offset.
struct ReferenceIndexes {
  std::vector<std::size_t> offsets;
  std::vector<vellvar> values;
};

// The reference walk of ParseReference. With `indexes` given, index values
// are collected there (the text gets empty brackets) and a string token used
// as a name is written as a string literal.
HandlerResult ParseReferenceParts(Interpreter& interp, ExecContext& ctx, vellvar* nameOut,
                                  std::u16string& text, ReferenceIndexes* indexes);

// Appends body as a string literal the lexer reads back unchanged (within
// the 255 units a token holds).
void AppendStringLiteral(std::u16string& out, std::u16string_view body);

}  // namespace names

}  // namespace vell
