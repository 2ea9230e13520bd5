// Tree nodes: children by position and by key, release and deep copy.
#include "core/vellarray.h"

#include <new>
#include <utility>
#include <vector>

#include "core/reference_mode.h"
#include "platform/memory.h"

namespace vell {

namespace {

int64_t gLiveNodes = 0;
int64_t gNodeBudget = 20'000'000;

bool CacheValid(const vellarray& node) {
  return node.cachedCount == node.childCount && node.cachedFirst == node.firstChild &&
         (node.childCount == 0 || node.lastChild != nullptr);
}

// Walks the list once to refill the cache (only needed when the list was
// changed behind this class's back).
void RefillCache(vellarray& node) {
  vellarray* last = nullptr;
  for (vellarray* c = node.firstChild; c != nullptr; c = c->nextSibling) last = c;
  node.lastChild = last;
  node.cachedChild = nullptr;
  node.cachedPos = 0;
  node.cachedCount = node.childCount;
  node.cachedFirst = node.firstChild;
}

void ResetCache(vellarray& node) {
  node.lastChild = nullptr;
  node.cachedChild = nullptr;
  node.cachedPos = 0;
  node.cachedCount = node.childCount;
  node.cachedFirst = node.firstChild;
}

// Links a node as the last child by walking the list to its end, leaving
// the position cache stale (the reference mode's way).
void LinkLastByWalk(vellarray& parent, vellarray* child) {
  child->nextSibling = nullptr;
  vellarray** link = &parent.firstChild;
  while (*link != nullptr) link = &(*link)->nextSibling;
  *link = child;
  ++parent.childCount;
}

// Links a node as the last child and counts it.
void LinkLast(vellarray& parent, vellarray* child) {
  if (ReferenceMode()) {
    LinkLastByWalk(parent, child);
    return;
  }
  if (!CacheValid(parent)) RefillCache(parent);
  child->nextSibling = nullptr;
  if (parent.lastChild == nullptr) {
    parent.firstChild = child;
  } else {
    parent.lastChild->nextSibling = child;
  }
  parent.lastChild = child;
  ++parent.childCount;
  parent.cachedCount = parent.childCount;
  parent.cachedFirst = parent.firstChild;
}

// Releases a sibling list with all subtrees, without recursion: the children
// of a released node are spliced in front of the rest of the list. A node
// that a NodeRef still points at is not freed: it is unlinked with its own
// subtree, marked detached, and freed when the last NodeRef lets go.
void ReleaseList(vellarray* list) noexcept {
  vellarray* node = list;
  while (node != nullptr) {
    vellarray* next = node->nextSibling;
    node->nextSibling = nullptr;
    if (node->pins > 0) {
      node->detached = true;
      node = next;
      continue;
    }
    if (node->firstChild != nullptr) {
      vellarray* tail = node->firstChild;
      while (tail->nextSibling != nullptr) tail = tail->nextSibling;
      tail->nextSibling = next;
      next = node->firstChild;
      node->firstChild = nullptr;
      node->childCount = 0;
      ResetCache(*node);
    }
    delete node;
    node = next;
  }
}

// Releases all children of a node; its count drops to 0.
void FreeChildren(vellarray& parent) noexcept {
  vellarray* list = parent.firstChild;
  parent.firstChild = nullptr;
  parent.childCount = 0;
  ResetCache(parent);
  ReleaseList(list);
}

// Deep copy of the source's children, appended under the target, without
// recursion. Every node made is linked at once, so an allocation failure
// leaves a valid (partial) tree behind.
void CopyChildren(const vellarray& source, vellarray& target) {
  std::vector<std::pair<const vellarray*, vellarray*>> work;
  work.emplace_back(&source, &target);
  while (!work.empty()) {
    auto [from, to] = work.back();
    work.pop_back();
    for (const vellarray* c = from->firstChild; c != nullptr; c = c->nextSibling) {
      vellarray* made = new vellarray(c->key);
      LinkLast(*to, made);
      made->kind = c->kind;
      made->item = c->item;
      if (c->firstChild != nullptr) work.emplace_back(c, made);
    }
  }
}

}  // namespace

vellarray::vellarray()
    : kind(1), key(u""), item(u""), firstChild(nullptr), nextSibling(nullptr), childCount(0) {}

vellarray::vellarray(const vellvar& keyValue)
    : kind(1), key(keyValue), item(u""), firstChild(nullptr), nextSibling(nullptr), childCount(0) {}

vellarray::~vellarray() {
  if (firstChild != nullptr) FreeChildren(*this);
}

vellarray* vellarray::GetNode(const vellvar& index) {
  if (index.IsString()) return GetNodeByKey(index);
  int32_t n = index.ToInt();
  if (n < 0) n = 0;
  if (ReferenceMode()) return GetNodeByWalk(n);
  if (!CacheValid(*this)) RefillCache(*this);
  if (n >= childCount) {
    // Make every missing child up to position n; refuse at once when that
    // would pass the node budget.
    const int64_t missing = int64_t(n) + 1 - childCount;
    if (gLiveNodes + missing > gNodeBudget) throw std::bad_alloc();
    while (childCount <= n) LinkLast(*this, new vellarray());
    cachedChild = lastChild;
    cachedPos = childCount - 1;
    return lastChild;
  }
  if (n == childCount - 1) return lastChild;
  vellarray* node = firstChild;
  int32_t pos = 0;
  if (cachedChild != nullptr && cachedPos <= n) {
    node = cachedChild;
    pos = cachedPos;
  }
  while (pos < n) {
    node = node->nextSibling;
    ++pos;
  }
  cachedChild = node;
  cachedPos = n;
  return node;
}

vellarray* vellarray::GetNodeByWalk(int32_t n) {
  // Step from the first child, making each missing child on the way.
  if (n >= childCount && gLiveNodes + (int64_t(n) + 1 - childCount) > gNodeBudget) {
    throw std::bad_alloc();
  }
  vellarray** link = &firstChild;
  for (;;) {
    if (*link == nullptr) {
      *link = new vellarray();
      ++childCount;
    }
    if (n <= 0) return *link;
    link = &(*link)->nextSibling;
    --n;
  }
}

vellarray* vellarray::GetNodeByKey(const vellvar& keyValue) {
  const vellvar empty(u"");
  for (vellarray* c = firstChild; c != nullptr; c = c->nextSibling) {
    if (c->key.kind == keyValue.kind && (c->key == keyValue)) return c;
    // The comparison turns the child's key into a wide string in place.
    if (c->key == empty) {
      c->key = keyValue;
      return c;
    }
  }
  vellarray* made = new vellarray(keyValue);
  LinkLast(*this, made);
  return made;
}

void vellarray::Assign(const vellarray& source) {
  if (source.firstChild != nullptr) {
    CopyFrom(source);
    return;
  }
  kind = source.kind;
  item = source.item;
}

void vellarray::SetItem(const vellvar& value) { item = value; }

void vellarray::CopyFrom(const vellarray& source) {
  if (&source == this) return;
  // Copy first, then release: the source may lie inside this node's subtree.
  vellarray fresh;
  CopyChildren(source, fresh);
  vellvar newKey(source.key);
  vellvar newItem(source.item);
  const int32_t newKind = source.kind;
  FreeChildren(*this);
  kind = newKind;
  key = std::move(newKey);
  item = std::move(newItem);
  firstChild = fresh.firstChild;
  childCount = fresh.childCount;
  lastChild = fresh.lastChild;
  cachedChild = nullptr;
  cachedPos = 0;
  cachedCount = childCount;
  cachedFirst = firstChild;
  fresh.firstChild = nullptr;
  fresh.childCount = 0;
  ResetCache(fresh);
}

vellarray* vellarray::Append(const vellvar& value) {
  vellarray* made = new vellarray();
  LinkLast(*this, made);
  made->item = value;
  return this;
}

vellarray* vellarray::LastChild() {
  if (childCount == 0) return nullptr;
  if (ReferenceMode()) return GetNodeByWalk(childCount - 1);
  if (!CacheValid(*this)) RefillCache(*this);
  return lastChild;
}

void vellarray::Clear() { FreeChildren(*this); }


const char16_t* vellarray::ItemWideText() { return item.WideText(); }

const char* vellarray::ItemText() { return item.Text(); }

void* vellarray::operator new(std::size_t size) {
  if (gLiveNodes >= gNodeBudget) throw std::bad_alloc();
  void* p = vell::ZeroAlloc(size);
  ++gLiveNodes;
  return p;
}

void vellarray::operator delete(void* p) noexcept {
  if (p == nullptr) return;
  --gLiveNodes;
  vell::ZeroFree(p);
}

int64_t vellarray::LiveNodes() { return gLiveNodes; }

void vellarray::SetNodeBudget(int64_t budget) { gNodeBudget = budget; }

// ---- NodeRef ----

void NodeRef::FreeDetached(vellarray* node) { delete node; }

void ReleaseNode(vellarray* node) noexcept {
  if (node == nullptr) return;
  node->nextSibling = nullptr;
  ReleaseList(node);
}

}  // namespace vell
