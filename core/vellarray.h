// The tree node of every tree the interpreter keeps: a kind, a key, an item
// value and an ordered list of children reached by position or by key.
//
// The children are held in an array, so that a position costs the same
// wherever it lies. A node's key changes only through this class (its own
// lookups, SetKey, CopyFrom), which keeps the parent's bookkeeping of keys in
// step.
#pragma once

#include <cstdint>

#include "core/vellvar.h"

namespace vell {

class NodeRef;
struct ChildList;

class vellarray {
 public:
  int32_t kind;  // a NodeKind (core/codes.h)

  vellarray();  // empty wide key
  explicit vellarray(const vellvar& keyValue);
  vellarray(const vellarray&) = delete;
  vellarray& operator=(const vellarray&) = delete;
  ~vellarray();

  const vellvar& Key() const { return key_; }
  // Names a node that is no other node's child (a table entry, a node made
  // on its own); naming a child this way makes every parent count its
  // children's keys again before the next keyed lookup.
  void SetKey(const vellvar& keyValue);
  void SetKey(std::u16string_view name);
  void SetKey(const char16_t* name) { SetKey(std::u16string_view(name)); }

  vellarray* GetNode(const vellvar& index);
  vellarray* operator[](const vellvar& index) { return GetNode(index); }
  vellarray* GetNodeByKey(const vellvar& keyValue);
  // The child at position n (0 or more) found by stepping from the first
  // child, as the reference mode does.
  vellarray* GetNodeByWalk(int32_t n);
  void Assign(const vellarray& source);
  // Assign that leaves this node's key as it is (an assignment of a whole
  // node to a variable or element keeps its name).
  void AssignKeepingKey(const vellarray& source);
  void SetItem(const vellvar& value) { item = value; }
  void CopyFrom(const vellarray& source);
  vellarray* Append(const vellvar& value);
  // Appends a child named keyValue with the empty wide text as its item;
  // returns the child.
  vellarray* AppendNamed(const vellvar& keyValue);
  // The last child, or null when there is none.
  vellarray* LastChild();
  void Clear();

  // The children without making any: their number, and the one at a
  // position (null outside 0 to ChildCount() - 1).
  int32_t ChildCount() const;
  vellarray* Child(int32_t position) const;
  bool IsChild() const { return (state_ & kChildBit) != 0; }

  // Lifetime: the number of NodeRefs pointing here, and whether the tree
  // this node lived in has let go of it (it is freed with the last NodeRef).
  int32_t Pins() const { return int32_t(state_ >> kPinShift); }
  bool Detached() const { return (state_ & kDetachedBit) != 0; }

  int32_t ItemInt() const { return item.IntValue(); }
  const char16_t* ItemWideText();
  const char* ItemText();

  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

  // Number of nodes made on demand that are alive now, and the budget above
  // which making another raises std::bad_alloc.
  static int64_t LiveNodes();
  static void SetNodeBudget(int64_t budget);

 private:
  friend class NodeRef;
  friend struct NodeTree;
  friend void ReleaseNode(vellarray* node) noexcept;

  static constexpr uint32_t kDetachedBit = 1;
  static constexpr uint32_t kChildBit = 2;
  static constexpr int kPinShift = 2;

  // The pins, and the detached and child flags.
  uint32_t state_ = 0;
  vellvar key_;

 public:
  vellvar item;

 private:
  ChildList* children_ = nullptr;  // null while there are none
};
static_assert(sizeof(vellarray) == 48);

// A counted pointer to a node that must stay valid even when the tree it lives
// in is cleared or rebuilt meanwhile.
class NodeRef {
 public:
  NodeRef() = default;
  NodeRef(vellarray* node) : node_(node) { Pin(node_); }
  NodeRef(const NodeRef& other) : node_(other.node_) { Pin(node_); }
  NodeRef& operator=(const NodeRef& other) { return *this = other.node_; }
  NodeRef& operator=(vellarray* node) {
    Pin(node);
    vellarray* old = node_;
    node_ = node;
    Unpin(old);
    return *this;
  }
  ~NodeRef() { Unpin(node_); }
  vellarray* get() const { return node_; }
  vellarray* operator->() const { return node_; }
  vellarray& operator*() const { return *node_; }
  explicit operator bool() const { return node_ != nullptr; }
  void reset() { *this = nullptr; }

 private:
  static constexpr uint32_t kPinUnit = uint32_t(1) << vellarray::kPinShift;
  static void Pin(vellarray* node) {
    if (node != nullptr) node->state_ += kPinUnit;
  }
  static void Unpin(vellarray* node) {
    if (node == nullptr) return;
    node->state_ -= kPinUnit;
    if (node->state_ == vellarray::kDetachedBit) FreeDetached(node);
  }
  // Frees a node its tree let go of, once the last NodeRef lets go too.
  static void FreeDetached(vellarray* node);

  vellarray* node_ = nullptr;
};

// Frees a node made with new that no tree holds, with its subtree; a node
// that a NodeRef still points at is freed when the last one lets go.
void ReleaseNode(vellarray* node) noexcept;

}  // namespace vell
