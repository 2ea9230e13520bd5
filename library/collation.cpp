#include "library/collation.h"

#include <langinfo.h>
#include <stdlib.h>
#include <string.h>

#include <cstdlib>

#include "library/string_list.h"
#include "platform/text_codec.h"

namespace vell {
namespace {

constexpr std::string_view kUtf8Codeset = "UTF-8";
constexpr std::string_view kUtf8Suffix = ".UTF-8";

bool IsCodeUnitLocale(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C." ||
         name.substr(0, 2) == "C@";
}

// The collation (and the character set, so that it can be checked) of the
// named locale, when it is installed and takes UTF-8.
locale_t OpenUtf8Locale(const std::string& name) {
  locale_t loc = ::newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name.c_str(), locale_t(0));
  if (loc == locale_t(0)) return loc;
  if (std::string_view(::nl_langinfo_l(CODESET, loc)) == kUtf8Codeset) return loc;
  ::freelocale(loc);
  return locale_t(0);
}

int CompareUnits(std::u16string_view a, std::u16string_view b) {
  const int order = a.compare(b);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

std::u16string Lowered(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = text::WideToLower(c);
  return out;
}

Collation::Collation(const std::string& localeName) {
  if (IsCodeUnitLocale(localeName)) return;
  locale_ = OpenUtf8Locale(localeName);
  if (locale_ != locale_t(0)) return;
  // A locale named with another character set orders by its UTF-8 twin.
  const size_t dot = localeName.find_first_of(".@");
  std::string twin = localeName.substr(0, dot) + std::string(kUtf8Suffix);
  const size_t at = localeName.find('@');
  if (at != std::string::npos) twin += localeName.substr(at);
  if (twin != localeName) locale_ = OpenUtf8Locale(twin);
}

Collation::~Collation() {
  if (locale_ != locale_t(0)) ::freelocale(locale_);
}

int Collation::CollateLowered(std::u16string_view a, std::u16string_view b) const {
  if (locale_ == locale_t(0)) return 0;
  const std::string x = text::WideToUtf8(a);
  const std::string y = text::WideToUtf8(b);
  const int order = ::strcoll_l(x.c_str(), y.c_str(), locale_);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int Collation::Compare(std::u16string_view a, std::u16string_view b) const {
  const std::u16string x = Lowered(a);
  const std::u16string y = Lowered(b);
  const int order = CollateLowered(x, y);
  return order != 0 ? order : CompareUnits(x, y);
}

bool Collation::Equal(std::u16string_view a, std::u16string_view b) const {
  if (a.size() == b.size() && CompareIgnoringCase(a, b) == 0) return true;
  return locale_ != locale_t(0) && CollateLowered(Lowered(a), Lowered(b)) == 0;
}

std::string Collation::SortKey(std::u16string_view lowered) const {
  if (locale_ == locale_t(0)) return {};
  const std::string source = text::WideToUtf8(lowered);
  const size_t size = ::strxfrm_l(nullptr, source.c_str(), 0, locale_);
  std::string key(size + 1, '\0');
  ::strxfrm_l(key.data(), source.c_str(), key.size(), locale_);
  key.resize(size);
  return key;
}

std::string CollationLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

const Collation& UserCollation() {
  static const Collation collation(CollationLocaleName());
  return collation;
}

}  // namespace vell
