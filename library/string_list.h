// A list of text items as programs keep lists: one item per line.
//
// Reading a text: each CR LF, lone CR or lone LF ends an item; a last item
// without a line break is an item; a break at the very end adds no empty
// item; a zero unit ends the text. Writing a text: every item is followed by
// CR LF, the last one too; the empty list is the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vell {

class Collation;

class StringList {
 public:
  StringList() = default;
  explicit StringList(std::u16string_view text) { SetText(text); }

  void SetText(std::u16string_view text);
  std::u16string Text() const;
  // StringList(text).Text() in one pass, without the items.
  static std::u16string ListText(std::u16string_view text);
  // The same as a view: of the text itself when it already is so (every
  // line break CR LF, one at its end, no zero unit), else of `made`.
  static std::u16string_view ListText(std::u16string_view text, std::u16string& made);

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const std::vector<std::u16string>& Items() const { return items_; }

  // Index-checked operations: an index out of range throws ServiceError and
  // leaves the list unchanged.
  const std::u16string& Get(int32_t index) const;
  void Set(int32_t index, std::u16string_view value);
  void Insert(int32_t index, std::u16string_view value);  // index == Count() appends
  void Append(std::u16string_view value);
  void Exchange(int32_t i, int32_t j);
  void Delete(int32_t index);

  // Ascending in the order of the user's locale, ignoring letter case (see
  // collation.h); items alike there go by the code units of their lower-case
  // forms, and equal ones keep their order.
  void Sort();
  void Sort(const Collation& order);

  // The first item that contains the text (case-sensitive), or -1. The empty
  // text is never found, and an empty item never matches.
  int32_t Find(std::u16string_view text) const;

  // name=value items: the name is the part before the first "=" (an item
  // without "=" has no name); names are compared in the user's locale,
  // ignoring letter case.
  int32_t IndexOfName(std::u16string_view name) const;
  // The part after the first "=" of the first item of that name, or "".
  std::u16string Value(std::u16string_view name) const;
  // A non-empty value replaces the first item of that name with name=value
  // (the name spelled as given), or appends name=value; an empty value
  // deletes the first item of that name.
  void SetValue(std::u16string_view name, std::u16string_view value);

 private:
  void CheckIndex(int32_t index, int32_t limit) const;

  std::vector<std::u16string> items_;
};

// Compares two texts ignoring letter case (simple per-unit mapping):
// negative, zero or positive.
int CompareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace vell
