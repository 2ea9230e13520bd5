#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "core/vellarray.h"

using namespace vell;

namespace {

// The children in order, read without making any.
std::vector<vellarray*> Children(const vellarray& node) {
  std::vector<vellarray*> list;
  for (int32_t i = 0; i < node.ChildCount(); ++i) list.push_back(node.Child(i));
  EXPECT_EQ(node.Child(node.ChildCount()), nullptr);
  return list;
}

std::u16string Key(const vellarray* node) {
  return std::u16string(vellvar(node->Key()).WideText());
}

vellvar NarrowValue(const char* text) {
  vellvar v;
  v = text;
  return v;
}

// Restores the node budget however a test ends.
struct BudgetGuard {
  ~BudgetGuard() { vellarray::SetNodeBudget(20'000'000); }
};

}  // namespace

// Element creation and key claiming as programs use them (vars_elements)
// are run there; these are the cases a program cannot set up.
TEST(Nodes, GetNodeEdges) {
  vellarray root;
  vellarray* third = root.GetNode(vellvar(3));
  auto list = Children(root);
  EXPECT_EQ(third, list[3]);
  EXPECT_EQ(root[vellvar(-2)], list[0]);
  EXPECT_EQ(root.GetNode(vellvar(u"x")), list[0]);  // text goes by key: claims the first
  EXPECT_EQ(Key(list[0]), u"x");
  vellarray empty;
  vellarray* made = empty.GetNode(vellvar(-2));
  EXPECT_EQ(made, empty.Child(0));
  EXPECT_EQ(empty.ChildCount(), 1);

  // An unnamed child before the match is claimed: two children keyed X.
  vellarray ex;
  ex.GetNode(vellvar(0));
  vellarray* realX = ex.GetNodeByKey(vellvar(u"X"));  // claims the only child
  ex.GetNode(vellvar(1));
  realX->SetKey(u"");
  ex.GetNode(vellvar(1))->SetKey(u"X");
  EXPECT_EQ(ex.GetNodeByKey(vellvar(u"X")), ex.Child(0));
  EXPECT_EQ(Key(ex.Child(0)), u"X");
  EXPECT_EQ(Key(ex.Child(1)), u"X");
  EXPECT_EQ(ex.ChildCount(), 2);

  // The item readers convert a copy; the text reader changes the item's kind.
  third->SetItem(vellvar(u" 12 apples"));
  EXPECT_EQ(third->ItemInt(), 12);
  EXPECT_EQ(third->item.kind, KindWide);
  EXPECT_EQ(std::string(third->ItemText()), " 12 apples");
  EXPECT_EQ(third->item.kind, KindNarrow);
}

TEST(Nodes, KeyKindsMatter) {
  vellarray root;
  vellarray* narrow = root.GetNodeByKey(NarrowValue("K"));
  EXPECT_EQ(narrow->Key().kind, KindNarrow);
  EXPECT_EQ(root.GetNodeByKey(NarrowValue("K")), narrow);
  // A wide lookup passes over the narrow key and turns it wide.
  vellarray* wide = root.GetNodeByKey(vellvar(u"K"));
  EXPECT_NE(wide, narrow);
  EXPECT_EQ(narrow->Key().kind, KindWide);
  EXPECT_EQ(root.ChildCount(), 2);
  // Numeric keys given directly compare by value.
  vellarray numbers;
  vellarray* seven = numbers.GetNodeByKey(vellvar(7));
  EXPECT_EQ(numbers.GetNodeByKey(vellvar(7)), seven);
}

TEST(Nodes, AssignCopyFromAppendClear) {
  const int64_t base = vellarray::LiveNodes();
  {
    vellarray source(vellvar(u"src"));
    source.kind = 5;
    source.SetItem(vellvar(42));
    vellarray target(vellvar(u"tgt"));
    target.Append(vellvar(1));
    target.Assign(source);  // no children: kind and item only
    EXPECT_EQ(target.kind, 5);
    EXPECT_EQ(target.item.IntValue(), 42);
    EXPECT_EQ(target.Key().WideView(), u"tgt");
    EXPECT_EQ(target.ChildCount(), 1);

    source.GetNodeByKey(vellvar(u"a"))->GetNode(vellvar(2))->SetItem(vellvar(u"deep"));
    source.Append(vellvar(u"last"));
    target.Assign(source);  // with children: a full copy
    EXPECT_EQ(target.Key().WideView(), u"src");
    ASSERT_EQ(target.ChildCount(), 2);
    vellarray* a = target.Child(0);
    EXPECT_EQ(Key(a), u"a");
    EXPECT_EQ(a->ChildCount(), 3);
    EXPECT_EQ(std::u16string(a->GetNode(vellvar(2))->ItemWideText()), u"deep");
    EXPECT_EQ(std::u16string(target.GetNode(vellvar(1))->ItemWideText()), u"last");
    // Independent of the source.
    a->GetNode(vellvar(2))->SetItem(vellvar(u"changed"));
    EXPECT_EQ(std::u16string(source.Child(0)->GetNode(vellvar(2))->ItemWideText()), u"deep");
    source.Clear();
    EXPECT_EQ(target.ChildCount(), 2);

    // A child copied over keeps its place among its parent's children, and
    // keyed lookups see its new key.
    vellarray parent;
    parent.GetNode(vellvar(1));
    vellarray* first = parent.Child(0);
    vellarray* second = parent.Child(1);
    first->CopyFrom(target);
    EXPECT_EQ(parent.Child(0), first);
    EXPECT_EQ(parent.Child(1), second);
    EXPECT_EQ(parent.GetNodeByKey(vellvar(u"src")), first);

    // Copying from itself or from its own descendant.
    target.CopyFrom(target);
    EXPECT_EQ(target.ChildCount(), 2);
    vellarray* sub = target.Child(0);  // 'a' with three children
    target.CopyFrom(*sub);
    EXPECT_EQ(target.Key().WideView(), u"a");
    EXPECT_EQ(target.ChildCount(), 3);
    EXPECT_EQ(std::u16string(target.GetNode(vellvar(2))->ItemWideText()), u"changed");
    target.Clear();
    EXPECT_EQ(target.ChildCount(), 0);
  }
  EXPECT_EQ(vellarray::LiveNodes(), base);
}

TEST(Nodes, PositionCacheStaysRightThroughEveryChange) {
  vellarray root;
  auto check = [&](int pos) {
    auto list = Children(root);
    ASSERT_LT(size_t(pos), list.size());
    EXPECT_EQ(root.GetNode(vellvar(pos)), list[pos]) << "position " << pos;
  };
  for (int i = 0; i < 50; ++i) root.GetNode(vellvar(i))->SetItem(vellvar(i));
  for (int p : {10, 5, 49}) check(p);
  root.Append(vellvar(u"a"));
  for (int p : {50, 20}) check(p);
  for (vellarray* c : Children(root)) c->SetKey(u"named");
  root.GetNodeByKey(vellvar(u"new"));  // appended: no unnamed child left
  EXPECT_EQ(root.ChildCount(), 52);
  for (int p : {51, 30}) check(p);
  vellarray other;
  other.GetNode(vellvar(9));
  root.CopyFrom(other);
  for (int p : {9, 3}) check(p);
  vellarray* grown = root.GetNode(vellvar(12));  // grows past the copy
  EXPECT_EQ(grown, Children(root)[12]);
  root.Clear();
  grown = root.GetNode(vellvar(2));
  EXPECT_EQ(grown, Children(root)[2]);
  for (int p : {0, 1}) check(p);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(root.GetNode(vellvar(i))->item.Length(), 0);
}

TEST(Nodes, BudgetStopsRunawayIndexes) {
  BudgetGuard guard;
  const int64_t base = vellarray::LiveNodes();
  {
    vellarray root;
    root.GetNode(vellvar(4));
    vellarray::SetNodeBudget(vellarray::LiveNodes() + 100);
    EXPECT_THROW(root.GetNode(vellvar(2000000000)), std::bad_alloc);
    EXPECT_EQ(root.ChildCount(), 5);
    EXPECT_EQ(Children(root).size(), 5u);

    // Filling up to the budget works; one more fails, and the tree stays whole.
    for (int i = 0; i < 100; ++i) root.Append(vellvar(i));
    EXPECT_THROW(root.Append(vellvar(0)), std::bad_alloc);
    for (vellarray* c : Children(root)) c->SetKey(u"named");
    EXPECT_THROW(root.GetNodeByKey(vellvar(u"k")), std::bad_alloc);
    EXPECT_EQ(root.ChildCount(), 105);
    EXPECT_EQ(root.GetNode(vellvar(104))->ItemInt(), 99);

    // A deep copy that runs out half-way leaves the target as it was.
    vellarray::SetNodeBudget(20'000'000);
    vellarray target;
    target.Append(vellvar(u"old"));
    vellarray::SetNodeBudget(vellarray::LiveNodes() + 50);
    EXPECT_THROW(target.CopyFrom(root), std::bad_alloc);
    EXPECT_EQ(target.ChildCount(), 0 + 1);
    EXPECT_EQ(std::u16string(target.Child(0)->ItemWideText()), u"old");
    vellarray::SetNodeBudget(20'000'000);
    target.CopyFrom(root);
    EXPECT_EQ(target.ChildCount(), 105);
  }
  EXPECT_EQ(vellarray::LiveNodes(), base);
}

TEST(Nodes, NodeRefKeepsReleasedNodesAlive) {
  const int64_t base = vellarray::LiveNodes();
  {
    vellarray root;
    vellarray* child = root.GetNode(vellvar(1));
    child->GetNode(vellvar(2))->SetItem(vellvar(u"leaf"));
    NodeRef ref(child);
    EXPECT_EQ(child->Pins(), 1);
    root.Clear();
    EXPECT_EQ(root.ChildCount(), 0);
    EXPECT_TRUE(ref->Detached());
    EXPECT_FALSE(ref->IsChild());
    EXPECT_EQ(ref->ChildCount(), 3);
    EXPECT_EQ(std::u16string(ref->GetNode(vellvar(2))->ItemWideText()), u"leaf");
    EXPECT_EQ(vellarray::LiveNodes(), base + 4);  // child and its subtree
    NodeRef copy = ref;
    EXPECT_EQ(child->Pins(), 2);
    ref.reset();
    EXPECT_EQ(vellarray::LiveNodes(), base + 4);
    copy = nullptr;
    EXPECT_EQ(vellarray::LiveNodes(), base);
  }
  {
    // Pinned nodes at two depths: releasing the outer one detaches the inner.
    vellarray root;
    vellarray* outer = root.GetNode(vellvar(0));
    vellarray* inner = outer->GetNode(vellvar(0))->GetNode(vellvar(1));
    inner->SetItem(vellvar(9));
    NodeRef refInner(inner);
    NodeRef refOuter(outer);
    vellarray source;
    source.Append(vellvar(1));
    root.CopyFrom(source);  // releases the old children
    EXPECT_TRUE(outer->Detached());
    EXPECT_FALSE(inner->Detached());
    refOuter.reset();
    EXPECT_TRUE(inner->Detached());
    EXPECT_EQ(inner->ItemInt(), 9);
    EXPECT_EQ(vellarray::LiveNodes(), base + 3);  // the new children of root and source, inner
    refInner = refInner;  // self-assignment keeps the pin
    EXPECT_EQ(inner->Pins(), 1);
    refInner = root.Child(0);
    EXPECT_EQ(vellarray::LiveNodes(), base + 2);
  }
  {
    // A parent destroyed with a pinned child; an embedded node is never freed.
    NodeRef survivor;
    vellarray embedded;
    {
      vellarray parent;
      survivor = parent.GetNode(vellvar(3));
      NodeRef onEmbedded(&embedded);
    }
    EXPECT_TRUE(survivor->Detached());
    survivor->Append(vellvar(1));
    EXPECT_EQ(embedded.Pins(), 0);
    EXPECT_FALSE(embedded.Detached());
  }
  EXPECT_EQ(vellarray::LiveNodes(), base);
}

TEST(Nodes, DeepTreesNeedNoRecursion) {
  const int64_t base = vellarray::LiveNodes();
  constexpr int kDepth = 1'000'000;
  {
    vellarray root;
    vellarray* node = &root;
    for (int i = 0; i < kDepth; ++i) node = node->GetNode(vellvar(0));
    node->SetItem(vellvar(u"bottom"));
    vellarray copy;
    copy.CopyFrom(root);
    vellarray* walk = &copy;
    int depth = 0;
    while (walk->ChildCount() != 0) {
      walk = walk->Child(0);
      ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(std::u16string(walk->ItemWideText()), u"bottom");
    EXPECT_EQ(vellarray::LiveNodes(), base + 2 * kDepth);
    root.Clear();
    EXPECT_EQ(vellarray::LiveNodes(), base + kDepth);
  }
  EXPECT_EQ(vellarray::LiveNodes(), base);
}
