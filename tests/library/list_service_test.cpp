// The string list, the string-list service and the service router.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "library/collation.h"
#include "library/service_error.h"
#include "library/service_router.h"
#include "tests/support/recording_host.h"
#include "library/string_list.h"

using namespace vell;

namespace vell {
namespace {

TEST(StringList, SplitsAtEveryLineBreakAndWritesCrLf) {
  const struct {
    std::u16string_view text;
    int count;
  } cases[] = {
      {u"", 0},           {u"\r\n", 1},       {u"a", 1},
      {u"a\r\nb\r\n", 2}, {u"a\r\n\r\nb", 3}, {u"a\rb\nc\r\nd", 4},
      {u"\n\n", 2},       {u"a\r\r\nb", 3},   {std::u16string_view(u"a\0b\nc", 5), 1},
      {u"a\r\n\r\nb\r\n", 3}, {u"\r\n\r", 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StringList(c.text).Count(), c.count) << c.text.size();
    // The one-pass form gives what splitting and joining gives.
    EXPECT_EQ(StringList::ListText(c.text), StringList(c.text).Text()) << c.text.size();
    std::u16string made;
    EXPECT_EQ(StringList::ListText(c.text, made), StringList(c.text).Text()) << c.text.size();
  }
  EXPECT_EQ(StringList(u"b\nA\ra").Text(), u"b\r\nA\r\na\r\n");
  EXPECT_EQ(StringList(u"").Text(), u"");
  EXPECT_EQ(StringList(u"\r\n").Text(), u"\r\n");
  EXPECT_EQ(StringList(u"a\r\n\r\nb").Items()[1], u"");
}

// Names with accents and mixed case. tools/install-deps.sh makes the German
// locale available.
constexpr std::u16string_view kNames =
    u"zebra\n\u00C9clair\napfel\n\u00C4rger\nBaum\neclair\nAal\n\u00D6l\nOber\nb\nB\nA\na\n";

TEST(StringList, SortsInTheLocalesOrderIgnoringCase) {
  const Collation german("de_DE.UTF-8");
  ASSERT_TRUE(german.ByLocale()) << "the locale de_DE.UTF-8 is missing: run tools/install-deps.sh";
  StringList list(kNames);
  list.Sort(german);
  // Accented letters beside their base letters, the plain one first; case
  // ignored, so A and a stay in their order.
  EXPECT_EQ(list.Text(),
            u"A\r\na\r\nAal\r\napfel\r\n\u00C4rger\r\nb\r\nB\r\nBaum\r\neclair\r\n\u00C9clair\r\n"
            u"Ober\r\n\u00D6l\r\nzebra\r\n");
  // A locale named with another character set orders as its UTF-8 twin.
  const Collation latin("de_DE.ISO-8859-1");
  EXPECT_TRUE(latin.ByLocale());
  EXPECT_LT(latin.Compare(u"\u00C4rger", u"b"), 0);

  EXPECT_LT(german.Compare(u"\u00C9clair", u"zebra"), 0);
  EXPECT_GT(german.Compare(u"\u00C9clair", u"ECLAIR"), 0);
  EXPECT_EQ(german.Compare(u"\u00C4RGER", u"\u00E4rger"), 0);
  // Alike in the locale's order: the code units decide, so no two texts that
  // differ compare equal.
  EXPECT_NE(german.Compare(u"A\u0308rger", u"\u00C4rger"), 0);
  EXPECT_TRUE(german.Equal(u"\u00C4RGER", u"\u00E4rger"));
  EXPECT_FALSE(german.Equal(u"Arger", u"\u00C4rger"));
}

TEST(StringList, SortsByCodeUnitsUnderTheCLocaleOrAMissingOne) {
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8", ""}) {
    const Collation plain(name);
    EXPECT_FALSE(plain.ByLocale()) << name;
    StringList list(kNames);
    list.Sort(plain);
    EXPECT_EQ(list.Text(),
              u"A\r\na\r\nAal\r\napfel\r\nb\r\nB\r\nBaum\r\neclair\r\nOber\r\nzebra\r\n"
              u"\u00C4rger\r\n\u00C9clair\r\n\u00D6l\r\n")
        << name;
    EXPECT_TRUE(plain.Equal(u"Key", u"kEY"));
    EXPECT_FALSE(plain.Equal(u"Arger", u"\u00C4rger"));
  }
}

TEST(StringList, ChecksEveryIndexAndStaysUnchanged) {
  StringList list(u"a\nb\nc");
  EXPECT_THROW(list.Get(3), ServiceError);
  EXPECT_THROW(list.Get(-1), ServiceError);
  EXPECT_THROW(list.Set(3, u"x"), ServiceError);
  EXPECT_THROW(list.Delete(-2147483647 - 1), ServiceError);
  EXPECT_THROW(list.Insert(-1, u"x"), ServiceError);
  EXPECT_THROW(list.Insert(4, u"x"), ServiceError);
  EXPECT_THROW(list.Exchange(0, 3), ServiceError);
  EXPECT_THROW(list.Exchange(3, 0), ServiceError);
  EXPECT_EQ(list.Text(), u"a\r\nb\r\nc\r\n");
  try {
    list.Get(7);
  } catch (const ServiceError& error) {
    EXPECT_EQ(error.Message(), u"List index out of bounds (7)");
  }
  list.Insert(3, u"d");  // the count itself appends
  list.Exchange(0, 3);
  list.Delete(1);
  EXPECT_EQ(list.Text(), u"d\r\nc\r\na\r\n");
  StringList single(u"x");
  single.Delete(0);
  EXPECT_EQ(single.Text(), u"");
}

class ServiceRouterTest : public ::testing::Test, public test::ServiceFixture {};

// The error box runs a nested event loop, where an event text may send
// requests of its own; the failed request still answers with its number.
TEST_F(ServiceRouterTest, FailedServiceAnswersItsNumberAfterNestedRequests) {
  class NestedRequestSink : public ServiceErrorSink {
   public:
    explicit NestedRequestSink(Interpreter& interp) : interp_(interp) {}
    void ShowServiceError(std::u16string_view) override {
      interp_.requestSlots[0].SetItem(vellvar(5));
      interp_.requestSlots[1].SetItem(vellvar(1001));
      interp_.requestSlots[2].SetItem(vellvar(u"x"));
      RouteServiceRequest(interp_, *this);
    }

   private:
    Interpreter& interp_;
  } nested(*interp);
  interp->requestSlots[0].SetItem(vellvar(5));
  interp->requestSlots[1].SetItem(vellvar(1002));
  interp->requestSlots[2].SetItem(vellvar(u"a"));
  interp->requestSlots[3].SetItem(vellvar(4));
  RouteServiceRequest(*interp, nested);
  EXPECT_EQ(Result().kind, KindInteger);
  EXPECT_EQ(Result().IntValue(), 1002);
}

TEST_F(ServiceRouterTest, NumbersNoServiceKnowsChangeNothing) {
  for (int service : {0, -5, 1000, 1012, 1500, 2000, 2008, 3000, 3001, 3021, 5000}) {
    Request(service, vellvar(u"a"), vellvar(0), vellvar(0));
    EXPECT_EQ(Result().IntValue(), service);
  }
  EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace vell
