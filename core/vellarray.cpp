// Tree nodes: children by position and by key, release and deep copy.
#include "core/vellarray.h"

#include <new>
#include <utility>
#include <vector>

#include "core/reference_mode.h"
#include "platform/fixed_pool.h"
#include "platform/memory.h"

namespace vell {

// The children of a node, in order: position i is nodes[i].
struct ChildList {
  std::vector<vellarray*, BudgetAllocator<vellarray*>> nodes;
  // Lists waiting to be released, linked through here (see ReleaseLists).
  ChildList* nextToRelease = nullptr;
};

// The class's bookkeeping, file-local through the friend declaration.
struct NodeTree {
  static ChildList& ListOf(vellarray& parent) {
    if (parent.children_ == nullptr) {
      void* memory = PlainAlloc(sizeof(ChildList));
      parent.children_ = new (memory) ChildList();
    }
    return *parent.children_;
  }

  static void DestroyList(ChildList* list) noexcept {
    list->~ChildList();
    ZeroFree(list);
  }

  // Makes a child from keyValue (kind 1, empty wide item) and links it last.
  // Room is made first, so a failure leaves the children as they were.
  static vellarray* MakeChild(vellarray& parent, const vellvar& keyValue) {
    ChildList& list = ListOf(parent);
    if (list.nodes.size() == list.nodes.capacity()) {
      list.nodes.reserve(list.nodes.empty() ? 4 : list.nodes.size() * 2);
    }
    vellarray* made = new vellarray(keyValue);
    list.nodes.push_back(made);
    made->state_ |= vellarray::kChildBit;
    return made;
  }

  // Releases child lists with all their subtrees, without recursion: the
  // lists of released nodes join the work list. A node that a NodeRef
  // still points at is not freed: it keeps its subtree, is marked detached,
  // and is freed when the last NodeRef lets go.
  static void ReleaseLists(ChildList* work) noexcept {
    while (work != nullptr) {
      ChildList* list = work;
      work = list->nextToRelease;
      for (vellarray* node : list->nodes) {
        node->state_ &= ~vellarray::kChildBit;
        if (node->Pins() > 0) {
          node->state_ |= vellarray::kDetachedBit;
          continue;
        }
        if (node->children_ != nullptr) {
          node->children_->nextToRelease = work;
          work = node->children_;
          node->children_ = nullptr;
        }
        delete node;
      }
      DestroyList(list);
    }
  }

  static void FreeChildren(vellarray& parent) noexcept {
    ChildList* list = parent.children_;
    parent.children_ = nullptr;
    if (list != nullptr) {
      list->nextToRelease = nullptr;
      ReleaseLists(list);
    }
  }

  // Deep copy of the source's children, appended under the target, without
  // recursion. Every node made is linked at once, so an allocation failure
  // leaves a valid (partial) tree behind.
  static void CopyChildren(const vellarray& source, vellarray& target) {
    std::vector<std::pair<const vellarray*, vellarray*>> work;
    work.emplace_back(&source, &target);
    while (!work.empty()) {
      auto [from, to] = work.back();
      work.pop_back();
      const int32_t count = from->ChildCount();
      ListOf(*to).nodes.reserve(size_t(count));
      for (int32_t i = 0; i < count; ++i) {
        const vellarray* c = from->children_->nodes[size_t(i)];
        vellarray* made = MakeChild(*to, c->key_);
        made->kind = c->kind;
        made->item = c->item;
        if (c->children_ != nullptr && !c->children_->nodes.empty()) work.emplace_back(c, made);
      }
    }
  }

  // Replaces the target's kind, item and children (and key, when asked) by
  // copies of the source's. Copies first, then releases: the source may lie
  // inside the target's subtree.
  static void CopyInto(vellarray& target, const vellarray& source, bool withKey) {
    if (&source == &target) return;
    vellarray fresh;
    CopyChildren(source, fresh);
    vellvar newKey(source.key_);
    vellvar newItem(source.item);
    FreeChildren(target);
    target.kind = source.kind;
    if (withKey) target.SetKey(newKey);
    target.item = std::move(newItem);
    target.children_ = fresh.children_;
    fresh.children_ = nullptr;
  }
};

namespace {

int64_t gLiveNodes = 0;
int64_t gNodeBudget = 20'000'000;

#ifndef VELL_SANITIZED
// Nodes come from a pool of fixed-size blocks; it lives as long as the
// process, as nodes may outlive any object that could own it. The
// sanitizers take nodes from the C library instead, where they can watch
// every block.
FixedPool& NodePool() {
  static FixedPool& pool = *new FixedPool(sizeof(vellarray));
  return pool;
}
#endif

}  // namespace

vellarray::vellarray() : kind(1), key_(u""), item(u"") {}

vellarray::vellarray(const vellvar& keyValue) : kind(1), key_(keyValue), item(u"") {}

vellarray::~vellarray() { NodeTree::FreeChildren(*this); }

void vellarray::SetKey(const vellvar& keyValue) { key_ = keyValue; }

void vellarray::SetKey(std::u16string_view name) { key_ = name; }

int32_t vellarray::ChildCount() const {
  return children_ == nullptr ? 0 : int32_t(children_->nodes.size());
}

vellarray* vellarray::Child(int32_t position) const {
  if (position < 0 || position >= ChildCount()) return nullptr;
  return children_->nodes[size_t(position)];
}

vellarray* vellarray::GetNode(const vellvar& index) {
  if (index.IsString()) return GetNodeByKey(index);
  int32_t n = index.ToInt();
  if (n < 0) n = 0;
  if (ReferenceMode()) return GetNodeByWalk(n);
  const int32_t count = ChildCount();
  if (n < count) return children_->nodes[size_t(n)];
  // Make every missing child up to position n; refuse at once when that
  // would pass the node budget.
  if (gLiveNodes + (int64_t(n) + 1 - count) > gNodeBudget) throw std::bad_alloc();
  const vellvar empty(u"");
  vellarray* made = nullptr;
  for (int32_t i = count; i <= n; ++i) made = NodeTree::MakeChild(*this, empty);
  return made;
}

vellarray* vellarray::GetNodeByWalk(int32_t n) {
  // Step from the first child, making each missing child on the way.
  if (n >= ChildCount() && gLiveNodes + (int64_t(n) + 1 - ChildCount()) > gNodeBudget) {
    throw std::bad_alloc();
  }
  const vellvar empty(u"");
  for (int32_t position = 0;; ++position) {
    if (position == ChildCount()) NodeTree::MakeChild(*this, empty);
    if (n <= 0) return children_->nodes[size_t(position)];
    --n;
  }
}

vellarray* vellarray::GetNodeByKey(const vellvar& keyValue) {
  const vellvar empty(u"");
  for (int32_t i = 0; i < ChildCount(); ++i) {
    vellarray* c = children_->nodes[size_t(i)];
    if (c->key_.kind == keyValue.kind && (c->key_ == keyValue)) return c;
    // The comparison turns the child's key into a wide string in place.
    if (c->key_ == empty) {
      c->key_ = keyValue;
      return c;
    }
  }
  return NodeTree::MakeChild(*this, keyValue);
}

void vellarray::Assign(const vellarray& source) {
  if (source.ChildCount() > 0) {
    CopyFrom(source);
    return;
  }
  kind = source.kind;
  item = source.item;
}

void vellarray::AssignKeepingKey(const vellarray& source) {
  if (source.ChildCount() > 0) {
    NodeTree::CopyInto(*this, source, false);
    return;
  }
  kind = source.kind;
  item = source.item;
}

void vellarray::SetItem(const vellvar& value) { item = value; }

void vellarray::CopyFrom(const vellarray& source) { NodeTree::CopyInto(*this, source, true); }

vellarray* vellarray::Append(const vellvar& value) {
  vellarray* made = NodeTree::MakeChild(*this, vellvar(u""));
  made->item = value;
  return this;
}

vellarray* vellarray::AppendNamed(const vellvar& keyValue) {
  return NodeTree::MakeChild(*this, keyValue);
}

vellarray* vellarray::LastChild() {
  const int32_t count = ChildCount();
  if (count == 0) return nullptr;
  if (ReferenceMode()) return GetNodeByWalk(count - 1);
  return children_->nodes.back();
}

void vellarray::Clear() { NodeTree::FreeChildren(*this); }

const char16_t* vellarray::ItemWideText() { return item.WideText(); }

const char* vellarray::ItemText() { return item.Text(); }

void* vellarray::operator new(std::size_t size) {
  if (gLiveNodes >= gNodeBudget) throw std::bad_alloc();
#ifdef VELL_SANITIZED
  void* p = vell::PlainAlloc(size);
#else
  (void)size;
  void* p = NodePool().Take();
#endif
  ++gLiveNodes;
  return p;
}

void vellarray::operator delete(void* p) noexcept {
  if (p == nullptr) return;
  --gLiveNodes;
#ifdef VELL_SANITIZED
  vell::ZeroFree(p);
#else
  NodePool().Give(p);
#endif
}

int64_t vellarray::LiveNodes() { return gLiveNodes; }

void vellarray::SetNodeBudget(int64_t budget) { gNodeBudget = budget; }

// ---- NodeRef ----

void NodeRef::FreeDetached(vellarray* node) { delete node; }

void ReleaseNode(vellarray* node) noexcept {
  if (node == nullptr) return;
  if (node->Pins() > 0) {
    node->state_ |= vellarray::kDetachedBit;
    return;
  }
  delete node;
}

}  // namespace vell
