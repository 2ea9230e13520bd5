// The one exception guard: what each kind of failure is reported as.
#include "platform/guarded.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Reports(void (*work)()) {
  std::vector<std::u16string> reports;
  const bool finished =
      vell::Guarded(work, [&](std::u16string_view text) { reports.emplace_back(text); });
  EXPECT_EQ(finished, reports.empty());
  return reports;
}

struct NotAStandardException {};

}  // namespace

TEST(Guarded, EachFailureByItsText) {
  EXPECT_TRUE(Reports([] {}).empty());
  // Lack of memory is told as such, whatever the exception's own text says.
  EXPECT_EQ(Reports([] { throw std::bad_alloc(); }),
            std::vector<std::u16string>{u"cannot allocate memory "});
  // Another exception's text is UTF-8.
  EXPECT_EQ(Reports([] { throw std::runtime_error("ファイル \"x\""); }),
            std::vector<std::u16string>{u"ファイル \"x\""});
  EXPECT_EQ(Reports([] { throw NotAStandardException(); }), std::vector<std::u16string>{u""});
}
