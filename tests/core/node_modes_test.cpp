// The nodes' indexes against the plain walks: the same random operations on
// two forests, one worked on in the reference mode and one as usual, must
// return the same and leave the same trees behind, step by step.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/reference_mode.h"
#include "core/vellarray.h"
#include "platform/text_codec.h"

using namespace vell;

namespace {

constexpr int kRoots = 3;
constexpr int kSteps = 4000;

// A value as its kind and text, read from a copy.
std::string Describe(const vellvar& v) {
  vellvar copy(v);
  const std::string kind = std::to_string(int(v.kind));
  if (v.IsNumber()) return kind + ":" + std::string(copy.Text());
  return kind + ":'" + text::WideToUtf8(std::u16string(copy.WideText())) + "'";
}

void DescribeTree(std::string& out, const vellarray& node, int depth) {
  out.append(size_t(depth), ' ');
  out += std::to_string(node.kind) + " " + Describe(node.Key()) + "=" + Describe(node.item) + "\n";
  for (int32_t i = 0; i < node.ChildCount(); ++i) DescribeTree(out, *node.Child(i), depth + 1);
}

// The positions leading from a root to a node.
using Path = std::vector<int32_t>;

struct Forest {
  std::array<vellarray, kRoots> roots;
  std::vector<NodeRef> held;  // nodes kept alive across the changes of their trees

  vellarray* At(int root, const Path& path) {
    vellarray* node = &roots[size_t(root)];
    for (int32_t position : path) node = node->Child(position);
    return node;
  }
  std::string Describe() const {
    std::string out;
    for (const vellarray& root : roots) DescribeTree(out, root, 0);
    for (const NodeRef& ref : held) {
      out += "held " + std::to_string(ref->Detached()) + "\n";
      DescribeTree(out, *ref, 1);
    }
    return out;
  }
};

// Which of the parent's children a node is, or "none".
std::string Locate(const vellarray* parent, const vellarray* child) {
  for (int32_t i = 0; i < parent->ChildCount(); ++i) {
    if (parent->Child(i) == child) return std::to_string(i);
  }
  return "none";
}

class Worker {
 public:
  explicit Worker(uint64_t seed) : random_(seed) {}

  // One random operation, the same on both forests: returns what each gave.
  void Step(Forest& reference, Forest& usual, std::string& fromReference, std::string& fromUsual) {
    const int root = Pick(kRoots);
    const Path path = RandomPath(usual, root);
    const int otherRoot = Pick(kRoots);
    const Path other = RandomPath(usual, otherRoot);
    const int operation = Pick(19);
    const vellvar key = Key();
    const vellvar value = Value();
    const int32_t position = Pick(40) - 2;
    const size_t common = draws_;
    for (const bool isReference : {true, false}) {
      draws_ = common;  // the second pass draws what the first drew
      SetReferenceMode(isReference);
      Forest& forest = isReference ? reference : usual;
      std::string& result = isReference ? fromReference : fromUsual;
      vellarray* node = forest.At(root, path);
      const vellarray* source = forest.At(otherRoot, other);
      switch (operation) {
        case 0:
        case 1:
          result = Locate(node, node->GetNode(vellvar(position)));
          break;
        case 2:
          result = Locate(node, node->GetNode(vellvar(position + 0.9)));
          break;
        case 3:
        case 4:
        case 5:
          result = Locate(node, node->GetNodeByKey(key));
          break;
        case 6:
          result = Locate(node, node->GetNode(key));
          break;
        case 7:
          node->Append(value);
          break;
        case 8:
          result = Locate(node, node->AppendNamed(key));
          break;
        case 9:
          node->SetItem(value);
          break;
        case 10:
          if (Pick(4) == 0) node->SetKey(key);  // a child named from outside
          break;
        case 11:
          if (Pick(3) == 0) node->CopyFrom(*source);
          break;
        case 12:
          if (Pick(2) == 0) {
            node->AssignKeepingKey(*source);
          } else {
            node->Assign(*source);
          }
          break;
        case 13:
          if (Pick(8) == 0) node->Clear();
          break;
        case 14:
          result = Locate(node, node->LastChild());
          if (forest.held.size() < 4 && Pick(4) == 0) forest.held.emplace_back(node);
          if (!forest.held.empty() && Pick(6) == 0) forest.held.erase(forest.held.begin());
          break;
        case 15:
        case 16:
          // Keys for every unnamed child, claimed in order (the same keys on
          // both passes), then lookups among them.
          for (int32_t i = 0; i < node->ChildCount() + 2; ++i) {
            result += Locate(node, node->GetNodeByKey(Pick(5) == 0 ? Key() : NamedKey())) + " ";
          }
          break;
        case 17:
          // Many keys at once, short and long, so that the index grows,
          // and now and then one that makes the lookups walk.
          if (Pick(3) == 0) {
            const int count = Pick(120);
            for (int i = 0; i < count; ++i) {
              const vellvar many = Pick(30) == 0 ? Key() : ManyKey();
              result += Locate(node, node->GetNodeByKey(many)) + " ";
            }
          }
          break;
        default:
          // Values read through their conversions in place.
          result = std::to_string(node->ItemInt()) + (Pick(2) == 0 ? node->ItemText() : "w");
          if (Pick(2) == 0) node->item += source->item;
          break;
      }
    }
    drawn_.clear();
    draws_ = 0;
  }

 private:
  int Pick(int n) {
    // Each draw of a step is taken once and replayed for the second forest.
    if (draws_ < drawn_.size()) return drawn_[draws_++] % n;
    const int value = std::uniform_int_distribution<int>(0, 1 << 30)(random_);
    drawn_.push_back(value);
    ++draws_;
    return value % n;
  }

  Path RandomPath(Forest& forest, int root) {
    Path path;
    const vellarray* node = &forest.roots[size_t(root)];
    while (node->ChildCount() > 0 && Pick(3) != 0) {
      const int32_t position = Pick(node->ChildCount());
      path.push_back(position);
      node = node->Child(position);
    }
    return path;
  }

  vellvar Key() {
    static constexpr std::array<std::u16string_view, 8> kWords = {
        u"", u"a", u"B", u"long key", u"k0", u"日本", u"k1", u"x"};
    const int roll = Pick(40);
    if (roll < 8) return vellvar(kWords[size_t(roll)]);
    if (roll < 13) {
      vellvar narrow;
      narrow = std::string(1, char('a' + roll - 8)).c_str();
      return narrow;
    }
    if (roll == 13) return vellvar(7);
    return vellvar(u"k" + std::u16string(1, char16_t(u'A' + roll % 26)));
  }

  // A wide key that is not empty, from a small set so that keys repeat.
  vellvar NamedKey() { return vellvar(u"n" + std::u16string(1, char16_t(u'a' + Pick(12)))); }

  // A wide key from a larger set, of 1 to 12 characters, where keys of
  // equal length differ in their first, middle or last character.
  vellvar ManyKey() {
    const size_t length = size_t(1 + Pick(12));
    std::u16string key(length, u'm');
    key[size_t(Pick(3)) * (length - 1) / 2] = char16_t(u'a' + Pick(16));
    return vellvar(key);
  }

  vellvar Value() {
    switch (Pick(4)) {
      case 0:
        return vellvar(Pick(100));
      case 1:
        return vellvar(Pick(100) / 4.0);
      case 2:
        return vellvar(std::u16string(size_t(Pick(12)), u'v'));
      default: {
        vellvar narrow;
        narrow = "12abc";
        return narrow;
      }
    }
  }

  std::mt19937_64 random_;
  std::vector<int> drawn_;
  size_t draws_ = 0;
};

// The first line where two descriptions part.
::testing::AssertionResult SameTrees(const std::string& reference, const std::string& usual) {
  if (reference == usual) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < reference.size() && at < usual.size() && reference[at] == usual[at]) ++at;
  const size_t line = reference.rfind('\n', at) + 1;
  return ::testing::AssertionFailure()
         << "trees differ: reference '" << reference.substr(line, reference.find('\n', at) - line)
         << "', usual '" << usual.substr(line, usual.find('\n', at) - line) << "'";
}

class ModeGuard {
 public:
  ModeGuard() : saved_(ReferenceMode()) {}
  ~ModeGuard() { SetReferenceMode(saved_); }

 private:
  bool saved_;
};

}  // namespace

TEST(NodeModes, TheIndexesAgreeWithTheWalksOnRandomWork) {
  ModeGuard guard;
  for (const uint64_t seed : {1u, 2u, 3u}) {
    auto reference = std::make_unique<Forest>();
    auto usual = std::make_unique<Forest>();
    Worker worker(seed);
    for (int step = 0; step < kSteps; ++step) {
      std::string fromReference, fromUsual;
      worker.Step(*reference, *usual, fromReference, fromUsual);
      ASSERT_EQ(fromReference, fromUsual) << "seed " << seed << ", step " << step;
      if (step % 25 == 0 || step == kSteps - 1) {
        ASSERT_TRUE(SameTrees(reference->Describe(), usual->Describe()))
            << "seed " << seed << ", step " << step;
      }
    }
  }
}
