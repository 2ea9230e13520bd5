// Helpers shared by the name lookup, the reference walk and the declarations.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/exec_context.h"
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
