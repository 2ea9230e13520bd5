// The tree node of every tree the interpreter keeps: a kind, a key, an item
// value and an ordered list of children reached by position or by key.
#pragma once

#include <cstdint>

#include "core/vellvar.h"

namespace vell {

class vellarray {
 public:
  int32_t kind;            // a NodeKind (core/codes.h)
  vellvar key;
  vellvar item;
  vellarray* firstChild;
  vellarray* nextSibling;
  int32_t childCount;

  // Lifetime bookkeeping: a node that something still points at through a
  // NodeRef is not freed with its parent's children; it is detached instead
  // and freed when the last NodeRef lets go.
  int32_t pins = 0;
  bool detached = false;

  // Position cache kept by this class so that appending and walking the
  // children by increasing position stay linear: the last child, and the
  // child last reached by position. Trusted only while firstChild and
  // childCount are what they were when it was filled.
  vellarray* lastChild = nullptr;
  vellarray* cachedChild = nullptr;
  int32_t cachedPos = 0;
  int32_t cachedCount = 0;
  vellarray* cachedFirst = nullptr;

  vellarray();                           // empty wide key
  explicit vellarray(const vellvar& keyValue);
  vellarray(const vellarray&) = delete;
  vellarray& operator=(const vellarray&) = delete;
  ~vellarray();

  vellarray* GetNode(const vellvar& index);
  vellarray* operator[](const vellvar& index) { return GetNode(index); }
  vellarray* GetNodeByKey(const vellvar& keyValue);
  // The child at position n (0 or more) found by walking from the first
  // child, as the reference mode does.
  vellarray* GetNodeByWalk(int32_t n);
  void Assign(const vellarray& source);
  void SetItem(const vellvar& value);
  void CopyFrom(const vellarray& source);
  vellarray* Append(const vellvar& value);
  // The last child, or null when there is none.
  vellarray* LastChild();
  void Clear();

  int32_t ItemInt() const { return item.IntValue(); }
  const char16_t* ItemWideText();
  const char* ItemText();

  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

  // Number of nodes made on demand that are alive now, and the budget above
  // which making another raises std::bad_alloc.
  static int64_t LiveNodes();
  static void SetNodeBudget(int64_t budget);
};

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
  static void Pin(vellarray* node) {
    if (node != nullptr) ++node->pins;
  }
  static void Unpin(vellarray* node) {
    if (node != nullptr && --node->pins == 0 && node->detached) FreeDetached(node);
  }
  // Frees a node its tree let go of, once the last NodeRef lets go too.
  static void FreeDetached(vellarray* node);

  vellarray* node_ = nullptr;
};

// Frees a node made with new that no tree holds, with its subtree; a node
// that a NodeRef still points at is freed when the last one lets go.
void ReleaseNode(vellarray* node) noexcept;

}  // namespace vell
