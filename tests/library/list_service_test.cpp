// The string list, the string-list service and the service router.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "library/service_error.h"
#include "library/service_router.h"
#include "library/string_list.h"

namespace vell {
namespace {

class RecordingSink : public ServiceErrorSink {
 public:
  void ShowServiceError(std::u16string_view message) override { messages.emplace_back(message); }
  std::vector<std::u16string> messages;
};

TEST(StringList, SplitsAtEveryLineBreakAndWritesCrLf) {
  const struct {
    std::u16string_view text;
    int count;
  } cases[] = {
      {u"", 0},           {u"\r\n", 1},       {u"a", 1},
      {u"a\r\nb\r\n", 2}, {u"a\r\n\r\nb", 3}, {u"a\rb\nc\r\nd", 4},
      {u"\n\n", 2},       {u"a\r\r\nb", 3},   {std::u16string_view(u"a\0b\nc", 5), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StringList(c.text).Count(), c.count) << c.text.size();
  }
  EXPECT_EQ(StringList(u"b\nA\ra").Text(), u"b\r\nA\r\na\r\n");
  EXPECT_EQ(StringList(u"").Text(), u"");
  EXPECT_EQ(StringList(u"\r\n").Text(), u"\r\n");
  EXPECT_EQ(StringList(u"a\r\n\r\nb").Items()[1], u"");
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

TEST(StringList, SortsFindsAndKeepsNameValueItems) {
  StringList list(u"b\nA\na\nB\n_\n");
  list.Sort();
  EXPECT_EQ(list.Text(), u"_\r\nA\r\na\r\nb\r\nB\r\n");

  StringList find(u"\nabc\nxAy\nxay");
  EXPECT_EQ(find.Find(u"a"), 1);
  EXPECT_EQ(find.Find(u"A"), 2);
  EXPECT_EQ(find.Find(u"ay"), 3);
  EXPECT_EQ(find.Find(u""), -1);
  EXPECT_EQ(find.Find(u"q"), -1);

  StringList values(u"plain\nkey=a=b\nKey=2\n=empty");
  EXPECT_EQ(values.Value(u"KEY"), u"a=b");
  EXPECT_EQ(values.Value(u"plain"), u"");
  EXPECT_EQ(values.Value(u""), u"empty");
  EXPECT_EQ(values.IndexOfName(u"missing"), -1);
  values.SetValue(u"KEY", u"9");  // the first item of that name, the name as given
  EXPECT_EQ(values.Text(), u"plain\r\nKEY=9\r\nKey=2\r\n=empty\r\n");
  values.SetValue(u"key", u"");
  values.SetValue(u"nothing", u"");
  values.SetValue(u"New", u"v");
  EXPECT_EQ(values.Text(), u"plain\r\nKey=2\r\n=empty\r\nNew=v\r\n");
}

class ServiceRouterTest : public ::testing::Test {
 protected:
  void Request(int service, const vellvar& a, const vellvar& b = vellvar(0),
               const vellvar& c = vellvar(0)) {
    interp->requestSlots[0].SetItem(vellvar(5));
    interp->requestSlots[1].SetItem(vellvar(service));
    interp->requestSlots[2].SetItem(a);
    interp->requestSlots[3].SetItem(b);
    interp->requestSlots[4].SetItem(c);
    RouteServiceRequest(*interp, sink);
  }
  vellvar Result() { return interp->requestSlots[1].item; }
  std::u16string ResultText() { return interp->requestSlots[1].ItemWideText(); }

  std::unique_ptr<Interpreter> interp = std::make_unique<Interpreter>();
  RecordingSink sink;
};

TEST_F(ServiceRouterTest, PerformsEveryListService) {
  Request(1001, vellvar(5));  // a number is a one-item list
  EXPECT_EQ(Result().kind, KindInteger);
  EXPECT_EQ(Result().IntValue(), 1);
  Request(1002, vellvar(u"a\nb"), vellvar(1));
  EXPECT_EQ(Result().kind, KindWide);
  EXPECT_EQ(ResultText(), u"b");
  Request(1003, vellvar(u"a\nb"), vellvar(u"0"), vellvar(7));
  EXPECT_EQ(ResultText(), u"7\r\nb\r\n");
  Request(1004, vellvar(u""), vellvar(u"x"));
  EXPECT_EQ(ResultText(), u"x\r\n");
  Request(1005, vellvar(u"a\nb"), vellvar(2), vellvar(u"c"));
  EXPECT_EQ(ResultText(), u"a\r\nb\r\nc\r\n");
  Request(1006, vellvar(u"a\nb\nc"), vellvar(0), vellvar(2));
  EXPECT_EQ(ResultText(), u"c\r\nb\r\na\r\n");
  Request(1007, vellvar(u"a"), vellvar(0));
  EXPECT_EQ(ResultText(), u"");
  Request(1008, vellvar(u"b\nA\na\nB"));
  EXPECT_EQ(ResultText(), u"A\r\na\r\nb\r\nB\r\n");
  Request(1009, vellvar(u"one\ntwo\nthree"), vellvar(u"o"));
  EXPECT_EQ(Result().IntValue(), 0);
  Request(1009, vellvar(u"one\ntwo"), vellvar(u""));
  EXPECT_EQ(Result().IntValue(), -1);
  Request(1010, vellvar(u"x=1\nkey=a=b"), vellvar(u"KEY"));
  EXPECT_EQ(ResultText(), u"a=b");
  Request(1011, vellvar(u"x=1"), vellvar(u"Name"), vellvar(u"v"));
  EXPECT_EQ(ResultText(), u"x=1\r\nName=v\r\n");
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ServiceRouterTest, FailingServiceShowsItsErrorAndKeepsItsNumber) {
  const struct {
    int service;
    int i;
    int j;
  } bad[] = {{1002, 2, 0},  {1002, -1, 0}, {1003, 2, 0},  {1005, 3, 0},
             {1005, -1, 0}, {1006, 0, 2},  {1006, -5, 0}, {1007, 2, 0}};
  for (const auto& b : bad) {
    sink.messages.clear();
    Request(b.service, vellvar(u"a\nb"), vellvar(b.i), vellvar(b.j));
    ASSERT_EQ(sink.messages.size(), 1u) << b.service;
    EXPECT_EQ(Result().kind, KindInteger);
    EXPECT_EQ(Result().IntValue(), b.service);
  }
  EXPECT_EQ(sink.messages[0], u"List index out of bounds (2)");
}

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
