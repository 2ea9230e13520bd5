#include "library/string_list.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "library/collation.h"
#include "library/service_error.h"
#include "platform/text_codec.h"

namespace vell {

void StringList::SetText(std::u16string_view text) {
  items_.clear();
  const size_t end = std::min(text.find(u'\0'), text.size());
  size_t start = 0;
  size_t i = 0;
  while (i < end) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      items_.emplace_back(text.substr(start, i - start));
      ++i;
      if (c == u'\r' && i < end && text[i] == u'\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < end) items_.emplace_back(text.substr(start, end - start));
}

namespace {

bool IsListText(std::u16string_view text) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c > u'\r') continue;
    if (c == u'\0' || c == u'\n') return false;  // a zero, or a LF without its CR
    if (c == u'\r') {
      if (i + 1 == n || text[i + 1] != u'\n') return false;
      ++i;
    }
  }
  return n == 0 || text.ends_with(u"\r\n");
}

}  // namespace

std::u16string_view StringList::ListText(std::u16string_view text, std::u16string& made) {
  if (IsListText(text)) return text;
  made = ListText(text);
  return made;
}

std::u16string StringList::ListText(std::u16string_view text) {
  const size_t end = std::min(text.find(u'\0'), text.size());
  std::u16string out;
  out.reserve(end + 2);
  size_t start = 0;
  size_t i = 0;
  while (i < end) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out.append(text, start, i - start);
      out += u"\r\n";
      ++i;
      if (c == u'\r' && i < end && text[i] == u'\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < end) {
    out.append(text, start, end - start);
    out += u"\r\n";
  }
  return out;
}

std::u16string StringList::Text() const {
  size_t length = 0;
  for (const auto& item : items_) length += item.size() + 2;
  std::u16string text;
  text.reserve(length);
  for (const auto& item : items_) {
    text += item;
    text += u"\r\n";
  }
  return text;
}

void StringList::CheckIndex(int32_t index, int32_t limit) const {
  if (index >= 0 && index < limit) return;
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, index);
  std::u16string message = u"List index out of bounds (";
  for (const char* p = digits; p != result.ptr; ++p) message += static_cast<char16_t>(*p);
  message += u")";
  throw ServiceError(message);
}

const std::u16string& StringList::Get(int32_t index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void StringList::Set(int32_t index, std::u16string_view value) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = value;
}

void StringList::Insert(int32_t index, std::u16string_view value) {
  CheckIndex(index, Count() + 1);
  items_.emplace(items_.begin() + index, value);
}

void StringList::Append(std::u16string_view value) { items_.emplace_back(value); }

void StringList::Exchange(int32_t i, int32_t j) {
  CheckIndex(i, Count());
  CheckIndex(j, Count());
  std::swap(items_[static_cast<size_t>(i)], items_[static_cast<size_t>(j)]);
}

void StringList::Delete(int32_t index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
}

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = text::WideToLower(a[i]);
    const char16_t y = text::WideToLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void StringList::Sort() { Sort(UserCollation()); }

void StringList::Sort(const Collation& order) {
  if (items_.size() < 2) return;
  // Each item's key is made once, not at every comparison; the positions
  // are sorted, and each item moved once at the end.
  const size_t n = items_.size();
  std::vector<std::u16string> lowered(n);
  for (size_t i = 0; i < n; ++i) lowered[i] = Lowered(items_[i]);
  std::vector<uint32_t> positions(n);
  for (size_t i = 0; i < n; ++i) positions[i] = uint32_t(i);
  if (order.ByLocale()) {
    std::vector<std::string> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = order.SortKey(lowered[i]);
    std::stable_sort(positions.begin(), positions.end(), [&](uint32_t a, uint32_t b) {
      if (keys[a] != keys[b]) return keys[a] < keys[b];
      return lowered[a] < lowered[b];
    });
  } else {
    // Without a locale every key is alike: the lower-case forms decide.
    std::stable_sort(positions.begin(), positions.end(),
                     [&](uint32_t a, uint32_t b) { return lowered[a] < lowered[b]; });
  }
  std::vector<std::u16string> sorted(n);
  for (size_t i = 0; i < n; ++i) sorted[i] = std::move(items_[positions[i]]);
  items_ = std::move(sorted);
}

int32_t StringList::Find(std::u16string_view text) const {
  if (text.empty()) return -1;
  for (int32_t i = 0; i < Count(); ++i) {
    if (items_[static_cast<size_t>(i)].find(text) != std::u16string::npos) return i;
  }
  return -1;
}

int32_t StringList::IndexOfName(std::u16string_view name) const {
  const Collation& order = UserCollation();
  for (int32_t i = 0; i < Count(); ++i) {
    std::u16string_view item = items_[static_cast<size_t>(i)];
    const size_t equals = item.find(u'=');
    if (equals == std::u16string_view::npos) continue;
    if (order.Equal(item.substr(0, equals), name)) return i;
  }
  return -1;
}

std::u16string StringList::Value(std::u16string_view name) const {
  const int32_t i = IndexOfName(name);
  if (i < 0) return {};
  const std::u16string& item = items_[static_cast<size_t>(i)];
  return item.substr(item.find(u'=') + 1);
}

void StringList::SetValue(std::u16string_view name, std::u16string_view value) {
  const int32_t i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) items_.erase(items_.begin() + i);
    return;
  }
  std::u16string item(name);
  item += u'=';
  item += value;
  if (i >= 0) {
    items_[static_cast<size_t>(i)] = std::move(item);
  } else {
    items_.push_back(std::move(item));
  }
}

}  // namespace vell
