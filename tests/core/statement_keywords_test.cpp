// The statement dispatch against its list of keywords: every listed word
// starts its own statement, and words that are not listed start expression
// statements.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/statements.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace {

using vell::test::TestInterpreter;
using vell::test::Utf8;

// Runs "GLOBAL name" and then "name = 5" as a statement of its own; true
// when that statement assigned 5 to the global, as an expression statement
// does.
bool AssignsAsExpression(std::u16string_view name) {
  TestInterpreter t;
  std::u16string text = u"GLOBAL ";
  text += name;
  text += u"\n";
  text += name;
  text += u" = 5\n";
  t.Run(text);
  const Interpreter& interp = t.interp();
  for (int i = 0; i < kTableEntries && interp.globals[i].kind != NodeFree; ++i) {
    vellvar key(interp.globals[i].key);
    if (key.WideView() != name) continue;
    return interp.globals[i].kind == NodeVariable && interp.globals[i].item.ToReal() == 5.0;
  }
  return false;
}

TEST(StatementKeywords, ListHoldsEachWordOnceInUpperCase) {
  std::set<std::u16string_view> seen;
  for (const std::u16string_view word : kStatementKeywords) {
    EXPECT_TRUE(seen.insert(word).second) << Utf8(word);
    for (const char16_t c : word) EXPECT_TRUE(c >= u'A' && c <= u'Z') << Utf8(word);
  }
  EXPECT_EQ(seen.size(), 18u);
}

TEST(StatementKeywords, EveryListedWordStartsItsStatement) {
  // A global of the same name does not turn the word into an expression.
  for (const std::u16string_view word : kStatementKeywords) {
    EXPECT_FALSE(AssignsAsExpression(word)) << Utf8(word);
  }
}

TEST(StatementKeywords, NearbyWordsStartExpressions) {
  // Each keyword shortened by its last letter and lengthened by one, so that
  // every length and first letter the dispatch looks at is tried.
  for (const std::u16string_view word : kStatementKeywords) {
    const std::u16string shorter(word.substr(0, word.size() - 1));
    const std::u16string longer = std::u16string(word) + u"X";
    for (const std::u16string& name : {shorter, longer}) {
      bool listed = false;
      for (const std::u16string_view other : kStatementKeywords) listed |= other == name;
      if (listed) continue;  // tried above
      EXPECT_TRUE(AssignsAsExpression(name)) << Utf8(name);
    }
  }
}

}  // namespace
