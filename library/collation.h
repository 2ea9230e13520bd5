// The order of texts in the user's locale, letter case ignored, as lists
// sort and name=value items find their names. The locale is the one that
// LC_ALL, LC_COLLATE or LANG names (the first that is set); C, POSIX,
// C.UTF-8 and a locale that is not installed order by UTF-16 code units.
// Only this comparison follows the locale: conversions of numbers and text
// never do.
#pragma once

#include <locale.h>

#include <string>
#include <string_view>

namespace vell {

class Collation {
 public:
  // The collation of the named locale, or the code-unit order (see above).
  explicit Collation(const std::string& localeName);
  ~Collation();
  Collation(const Collation&) = delete;
  Collation& operator=(const Collation&) = delete;

  // Whether the order is the locale's rather than the code units'.
  bool ByLocale() const { return locale_ != locale_t(0); }

  // Negative, zero or positive: the locale's order of the two texts with
  // letter case ignored; texts that order alike there (or every pair under
  // the code-unit order) by the code units of their lower-case forms.
  int Compare(std::u16string_view a, std::u16string_view b) const;
  // Whether the two texts name the same thing: alike in the locale's order
  // with letter case ignored.
  bool Equal(std::u16string_view a, std::u16string_view b) const;

  // A key of a text whose byte order is the locale's order of the text with
  // letter case ignored; empty under the code-unit order. Compare is the
  // order of the keys, then of the lower-case forms.
  std::string SortKey(std::u16string_view lowered) const;

 private:
  int CollateLowered(std::u16string_view a, std::u16string_view b) const;

  locale_t locale_ = locale_t(0);
};

// The name of the locale that orders texts, from the environment: LC_ALL,
// else LC_COLLATE, else LANG; "C" when none is set.
std::string CollationLocaleName();

// The collation of the environment's locale, read once per process.
const Collation& UserCollation();

// The text with every unit in lower case (the per-unit mapping of LCASE).
std::u16string Lowered(std::u16string_view text);

}  // namespace vell
