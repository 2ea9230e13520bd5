// The reference mode must really take the plain path: the differential test
// compares it with the usual one, and would compare a cache with itself if
// the mode kept any.
#include <gtest/gtest.h>

#include <memory>

#include "core/execution.h"
#include "core/interpreter_state.h"
#include "core/reference_mode.h"
#include "tests/support/recording_host.h"
#include "tests/support/reference_scope.h"

using namespace vell;

namespace {

using vell::test::ReferenceScope;
using vell::test::TestInterpreter;
using vell::test::Utf8;

constexpr char16_t kLoop[] =
    u"SUB TWICE(X) { RETURN (X * 2) }\n"
    u"GLOBAL S, I\nS = 0\nFOR I = 0, I < 20, I = I + 1 { S = S + TWICE(I) }\nPRINT S";

TEST(ReferenceMode, ReadsEveryTokenFromTheTextAndGivesTheSameResult) {
  for (const bool reference : {true, false}) {
    ReferenceScope mode(reference);
    TestInterpreter t;
    const SharedText text = MakeSharedText(kLoop);
    RunText(t.interp(), nullptr, text);
    EXPECT_EQ(t.host.requests.back().text, u"380") << "reference " << reference;
    // The loop reads its text again and again: only the usual mode keeps
    // the tokens it found.
    EXPECT_EQ(text->tokens == nullptr, reference) << "reference " << reference;
  }
}

TEST(ReferenceMode, ReachesChildrenByWalkingAndAgreesWithTheUsualWay) {
  for (const bool reference : {true, false}) {
    ReferenceScope mode(reference);
    auto root = std::make_unique<vellarray>();
    vellarray* third = root->GetNode(vellvar(2));
    EXPECT_EQ(root->ChildCount(), 3);
    EXPECT_EQ(root->LastChild(), third);
    EXPECT_EQ(root->GetNode(vellvar(-5)), root->Child(0));
    root->Append(vellvar(7));
    EXPECT_EQ(root->LastChild()->item.IntValue(), 7);
    EXPECT_EQ(root->GetNode(vellvar(3)), root->LastChild());
    vellarray* sixth = root->GetNode(vellvar(5));
    EXPECT_EQ(sixth, root->LastChild());
    EXPECT_EQ(root->ChildCount(), 6);
  }
}

}  // namespace
