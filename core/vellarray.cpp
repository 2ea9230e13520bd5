// Tree nodes: children by position and by key, release and deep copy.
#include "core/vellarray.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "core/reference_mode.h"
#include "platform/fixed_pool.h"
#include "platform/memory.h"

namespace vell {

namespace {

// Bumped whenever a child's key changes by other means than its parent's
// own operations (SetKey, CopyFrom on a child): every parent then counts its
// children's keys again before its next keyed lookup.
uint64_t gKeyEpoch = 0;

// Below this many children a keyed lookup walks them: as fast, and no index
// to keep.
constexpr int32_t kIndexedChildren = 8;

// A key the index can answer for: wide and not empty. A lookup claims a
// child with an empty key and converts a key of another kind in place, so
// those need the walk.
bool Indexable(const vellvar& key) { return key.kind == KindWide && key.Length() != 0; }

template <typename Word>
Word Load(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// A hash of a key's characters, eight bytes at a time (the last eight
// overlapping the word before, a short key's in two overlapping halves),
// mixed well enough for linear probing in a table indexed by its low bits.
uint64_t HashKey(std::u16string_view key) {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  const char* bytes = reinterpret_cast<const char*>(key.data());
  const size_t size = key.size() * sizeof(char16_t);
  const char* end = bytes + size;
  uint64_t hash = size * kMultiplier;
  const auto mix = [&hash](uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 29;
  };
  if (size >= 8) {
    for (; end - bytes > 8; bytes += 8) mix(Load<uint64_t>(bytes));
    mix(Load<uint64_t>(end - 8));
  } else if (size >= 4) {
    mix(uint64_t(Load<uint32_t>(bytes)) | uint64_t(Load<uint32_t>(end - 4)) << 32);
  } else if (size == 2) {
    mix(Load<uint16_t>(bytes));
  }
  hash *= 0xD6E8FEB86659FD93ull;
  return hash ^ (hash >> 32);
}

// Wide key -> the first child with that key, by open addressing. Each slot
// keeps its key's hash and length beside the child, and the key's
// characters themselves when they are few (as most keys are), else where
// they lie: in the child's key, which the child holds and which stays where
// it is while the key is unchanged (any change of a child's key drops the
// index first). A probe or a hit on a short key so reads one slot only,
// and two slots share a cache line without straddling one.
class KeyIndex {
 public:
  explicit KeyIndex(size_t expected) { Allocate(SlotsFor(expected)); }
  ~KeyIndex() { ZeroFree(block_); }
  KeyIndex(const KeyIndex&) = delete;
  KeyIndex& operator=(const KeyIndex&) = delete;

  vellarray* Find(std::u16string_view key) const {
    const uint64_t hash = HashKey(key);
    const uint32_t tag = uint32_t(hash >> 32);
    for (size_t i = size_t(hash) & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.node == nullptr) return nullptr;
      if (slot.tag == tag && slot.length == key.size()) {
        __builtin_prefetch(slot.node);
        if (slot.Same(key)) return slot.node;
      }
    }
  }

  // Makes room for this many keys in all (half the slots stay empty).
  void Reserve(size_t keys) {
    if (keys * 2 + 2 > mask_ + 1) Rehash(SlotsFor(keys));
  }

  // Adds a child unless an earlier one has its key; Reserve made the room.
  void AddIfFirst(vellarray* child) {
    const std::u16string_view key = child->Key().WideView();
    const uint64_t hash = HashKey(key);
    Slot added{};
    added.tag = uint32_t(hash >> 32);
    added.length = uint32_t(key.size());
    if (key.size() <= kInlineChars) {
      std::memcpy(added.text.chars, key.data(), key.size() * sizeof(char16_t));
    } else {
      added.text.far = key.data();
    }
    added.node = child;
    Add(added, size_t(hash));
  }

 private:
  static constexpr size_t kInlineChars = 8;

  struct Slot {
    uint32_t tag;  // the high bits of the key's hash (the low ones chose the place)
    uint32_t length;
    union {
      char16_t chars[kInlineChars];  // a key of up to kInlineChars
      const char16_t* far;           // a longer key's characters
    } text;
    vellarray* node;  // null: the slot is free
    std::u16string_view Key() const {
      return {length <= kInlineChars ? text.chars : text.far, length};
    }
    bool Same(std::u16string_view key) const {
      return std::char_traits<char16_t>::compare(Key().data(), key.data(), key.size()) == 0;
    }
  };
  static_assert(sizeof(Slot) == 32);

  static size_t SlotsFor(size_t expected) {
    size_t slots = 16;
    while (slots < expected * 2 + 2) slots *= 2;
    return slots;
  }
  // The slots start on a cache line: a block a line longer, aligned inside.
  void Allocate(size_t slots) {
    constexpr uintptr_t kLine = 64;
    block_ = PlainAlloc(slots * sizeof(Slot) + kLine);
    const uintptr_t aligned = (reinterpret_cast<uintptr_t>(block_) + kLine - 1) & ~(kLine - 1);
    slots_ = reinterpret_cast<Slot*>(aligned);
    std::fill(slots_, slots_ + slots, Slot{});
    mask_ = slots - 1;
  }
  // Places the slot at the place its hash chooses unless its key is there.
  void Add(const Slot& added, size_t hash) {
    const std::u16string_view key = added.Key();
    size_t i = hash & mask_;
    for (; slots_[i].node != nullptr; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.tag == added.tag && slot.length == added.length && slot.Same(key)) return;
    }
    slots_[i] = added;
  }
  void Rehash(size_t slots) {
    void* oldBlock = block_;
    Slot* old = slots_;
    const size_t oldSlots = mask_ + 1;
    Allocate(slots);
    for (size_t i = 0; i < oldSlots; ++i) {
      if (old[i].node != nullptr) Add(old[i], size_t(HashKey(old[i].Key())));
    }
    ZeroFree(oldBlock);
  }

  void* block_ = nullptr;
  Slot* slots_ = nullptr;
  size_t mask_ = 0;
};

}  // namespace

// The children of a node, in order: position i is nodes[i].
struct ChildList {
  ~ChildList() { DropIndex(); }
  void DropIndex() {
    if (index == nullptr) return;
    index->~KeyIndex();
    ZeroFree(index);
    index = nullptr;
  }

  std::vector<vellarray*, BudgetAllocator<vellarray*>> nodes;
  // Lists waiting to be released, linked through here (see ReleaseLists).
  ChildList* nextToRelease = nullptr;
  // Children whose key is not Indexable; while there is any, keyed lookups
  // walk. Right while epoch is gKeyEpoch.
  int32_t unindexable = 0;
  uint64_t epoch = gKeyEpoch;
  // Built on the first keyed lookup that may use it, kept in step with
  // every child added after, dropped by any other change of a key.
  KeyIndex* index = nullptr;
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
    if (list.epoch != gKeyEpoch) list.DropIndex();  // a key changed behind its back
    if (list.index != nullptr) list.index->Reserve(list.nodes.size() + 1);
    vellarray* made = new vellarray(keyValue);
    list.nodes.push_back(made);
    made->state_ |= vellarray::kChildBit;
    if (!Indexable(made->key_)) {
      ++list.unindexable;
    } else if (list.index != nullptr) {
      if (ReferenceMode()) {
        list.DropIndex();
      } else {
        list.index->AddIfFirst(made);
      }
    }
    return made;
  }

  // A child's key changed kind or value during a lookup's walk.
  static void KeyChanged(ChildList& list, bool wasIndexable, const vellvar& key) {
    list.unindexable += (wasIndexable ? 0 : -1) + (Indexable(key) ? 0 : 1);
    list.DropIndex();
  }

  // The reference way of a keyed lookup: visit the children in order; a
  // child with an equal key of the same kind is found; otherwise comparing
  // its key with the empty text turns the key wide in place, and a child
  // whose key is then empty is claimed (given the key). No child found or
  // claimed: a new one is appended.
  static vellarray* WalkByKey(vellarray& parent, const vellvar& keyValue) {
    const vellvar empty(u"");
    for (int32_t i = 0; i < parent.ChildCount(); ++i) {
      vellarray* c = parent.children_->nodes[size_t(i)];
      vellvar& key = c->key_;
      if (key.kind == keyValue.kind && (key == keyValue)) return c;
      const bool wasIndexable = Indexable(key);
      const int8_t kindBefore = key.kind;
      const bool claimed = (key == empty);
      if (claimed) key = keyValue;
      if (claimed || key.kind != kindBefore) KeyChanged(*parent.children_, wasIndexable, key);
      if (claimed) return c;
    }
    return MakeChild(parent, keyValue);
  }

  // Counts the children's keys again after a change behind the parent's back.
  static void Synchronise(ChildList& list) {
    if (list.epoch == gKeyEpoch) return;
    list.unindexable = 0;
    for (const vellarray* c : list.nodes) list.unindexable += Indexable(c->key_) ? 0 : 1;
    list.DropIndex();
    list.epoch = gKeyEpoch;
  }

  static KeyIndex& IndexOf(ChildList& list) {
    if (list.index == nullptr) {
      void* memory = PlainAlloc(sizeof(KeyIndex));
      KeyIndex* index;
      try {
        index = new (memory) KeyIndex(list.nodes.size());
      } catch (...) {
        ZeroFree(memory);
        throw;
      }
      for (vellarray* c : list.nodes) index->AddIfFirst(c);
      list.index = index;
    }
    return *list.index;
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
    const int32_t newKind = source.kind;
    FreeChildren(target);
    target.kind = newKind;
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
// every block. Up to 64 MiB of empty slabs stay in the process, as the
// C library keeps free memory at the top of its heap: an array made and
// freed again and again is not faulted in anew each time.
constexpr std::size_t kKeptEmptyNodeSlabs = (std::size_t(64) << 20) / FixedPool::kSlabBytes;
FixedPool& NodePool() {
  static FixedPool& pool = *new FixedPool(sizeof(vellarray), kKeptEmptyNodeSlabs);
  return pool;
}
#endif

}  // namespace

vellarray::vellarray() : kind(1), key_(u""), item(u"") {}

vellarray::vellarray(const vellvar& keyValue) : kind(1), key_(keyValue), item(u"") {}

vellarray::~vellarray() { NodeTree::FreeChildren(*this); }

void vellarray::SetKey(const vellvar& keyValue) {
  key_ = keyValue;
  if (IsChild()) ++gKeyEpoch;
}

void vellarray::SetKey(std::u16string_view name) {
  key_ = name;
  if (IsChild()) ++gKeyEpoch;
}

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
  if (ReferenceMode() || ChildCount() < kIndexedChildren || !keyValue.IsString()) {
    return NodeTree::WalkByKey(*this, keyValue);
  }
  ChildList& list = *children_;
  NodeTree::Synchronise(list);
  if (list.unindexable > 0) return NodeTree::WalkByKey(*this, keyValue);
  // Every key is wide and not empty: a narrow or empty key finds nothing and
  // claims nothing, and the walk would change no key on its way.
  if (keyValue.kind != KindWide || keyValue.Length() == 0) {
    return NodeTree::MakeChild(*this, keyValue);
  }
  if (vellarray* found = NodeTree::IndexOf(list).Find(keyValue.WideView())) return found;
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
