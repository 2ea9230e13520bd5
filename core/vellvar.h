// The one value type of the interpreter: a tagged integer, real, narrow or
// wide string.
//
// Every two-operand operator first converts the left operand in place to the
// kind of the right operand, then acts by that kind; the right operand never
// changes.
//
// A text of more than 8 bytes lives in a heap block that copies of the value
// share: copying, passing and storing a text costs the same whatever its
// length. A block is written only while one value holds it; every operation
// that changes a value's text in place first gives that value a block of its
// own (copy on write), so a value never sees another one change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vell {

enum VellKind : int32_t {
  KindInteger = 0,
  KindReal = 1,
  KindNarrow = 2,  // bytes in the locale's character set, NUL-terminated
  KindWide = 3,    // UTF-16 code units, terminated by a 16-bit zero
};

// The largest text a value holds, in bytes; anything longer is treated as an
// allocation failure instead of letting the 32-bit capacity wrap.
inline constexpr int64_t kMaxTextBytes = int64_t{1} << 30;

namespace detail {

// A heap block of text: the values sharing it, its capacity, then the
// characters and two terminator bytes.
struct TextBlock {
  int32_t refs;
  int32_t capacity;  // bytes for text, the two terminator bytes not counted
  char* Chars() { return reinterpret_cast<char*>(this + 1); }
};
static_assert(sizeof(TextBlock) == 8);

void FreeTextBlock(TextBlock* block) noexcept;

}  // namespace detail

struct VellvarStorage;

class alignas(8) vellvar {
 public:
  vellvar(int value = 0);
  vellvar(double value);
  vellvar(const char16_t* text);  // never null
  vellvar(std::u16string_view text);
  vellvar(const vellvar& other);
  vellvar(vellvar&& other) noexcept;
  ~vellvar() {
    if (heap_) Release();
  }

  vellvar& operator=(const vellvar& other);
  vellvar& operator=(vellvar&& other) noexcept;
  vellvar& operator=(int value);
  vellvar& operator=(double value);
  vellvar& operator=(const char* text);      // narrow; never null
  vellvar& operator=(const char16_t* text);  // wide; null stores ""
  vellvar& operator=(std::u16string_view text);
  vellvar& AssignNarrow(std::string_view bytes);

  // Conversions.
  vellvar& ChangeKind(int32_t newKind) {
    if (kind != newKind) ConvertKind(newKind);
    return *this;
  }
  vellvar& ConvertKind(int32_t newKind);  // ChangeKind's work when the kind differs
  int32_t ToInt() const;
  double ToReal() const;
  const char* Text();            // converts in place to narrow
  const char16_t* WideText();    // converts in place to wide

  // Arithmetic (left operand converted to the right operand's kind first).
  vellvar& operator+=(const vellvar& right);
  vellvar& operator-=(const vellvar& right);
  vellvar& operator*=(const vellvar& right);
  vellvar& operator/=(const vellvar& right);
  vellvar& Concat(const vellvar& right);

  // Comparisons and logic: 1 or 0, after converting the left operand.
  // Non-const on purpose: the left operand is converted in place.
  int operator==(const vellvar& right);
  int operator!=(const vellvar& right);
  int operator>(const vellvar& right);
  int operator<(const vellvar& right);
  int operator>=(const vellvar& right);
  int operator<=(const vellvar& right);
  int operator&&(const vellvar& right);
  int operator||(const vellvar& right);

  vellvar& Negate();
  vellvar& LeftCopy(const vellvar& source, int32_t n);
  vellvar& ToLower();
  vellvar& ToUpper();
  int32_t Find(const vellvar& pattern, int32_t start) const;
  vellvar& ReplaceAll(const vellvar& pattern, const vellvar& replacement);

  // Readers that change nothing.
  bool IsNumber() const { return kind == KindInteger || kind == KindReal; }
  bool IsString() const { return kind == KindNarrow || kind == KindWide; }
  int32_t IntValue() const;   // kind 0 only
  double RealValue() const;   // kind 1 only
  // Length of the stored text in its own units (bytes or UTF-16 units); 0 for numbers.
  int32_t Length() const { return IsString() ? length_ : 0; }
  std::u16string_view WideView() const;   // kind 3 only
  std::string_view NarrowView() const;    // kind 2 only

  // The storage: the buffer (the text and its terminator, or the number),
  // its capacity in bytes for data (8: the value's own inline buffer), and
  // how many values share its heap block (1 for a buffer of its own).
  const char* Bytes() const { return heap_ ? Block()->Chars() : raw_; }
  int32_t Capacity() const;
  bool IsInline() const { return !heap_; }
  int32_t ShareCount() const { return heap_ ? Block()->refs : 1; }

  // For S = S + X, called just before the append when the sum is about to
  // be stored into `owner` and nothing can read owner before that store:
  // when this value shares its block with owner alone and the block has
  // room for `right` after the text, owner lets go of the block (it holds
  // the integer 0 until the store) and the append happens in place. True
  // when it did; both must be texts of one kind.
  bool TakeBlockForAppend(vellvar& owner, const vellvar& right);

  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

 private:
  friend struct VellvarStorage;

  detail::TextBlock* Block() const {
    detail::TextBlock* block;
    std::memcpy(&block, raw_, sizeof block);
    return block;
  }
  // Lets go of the heap block, freeing it with its last holder; the value
  // is left on its inline buffer with its kind and length as they were.
  void Release() noexcept;
  // Stores 8 bytes of a number: into a block held alone, else inline.
  void PutNumber(int32_t numberKind, const void* bytes) {
    if (heap_ && Block()->refs > 1) Release();
    std::memcpy(heap_ ? Block()->Chars() : raw_, bytes, 8);
    kind = static_cast<int8_t>(numberKind);
    length_ = 0;
  }
  void CopyText(const vellvar& other);
  // The move assignment's work for anything but a number moved.
  vellvar& MoveText(vellvar&& other) noexcept;
  // Stores a text that is not empty into a value that holds nothing yet.
  void StoreWide(const char16_t* text);

  // Bytes 0 to 7: inline data or the heap block's address; bytes 8 and 9 are
  // always 0, the terminator of an inline text that fills 8 bytes.
  char raw_[10];

 public:
  // A VellKind; written only by the value's own operations.
  int8_t kind;

 private:
  bool heap_;
  // Units of the text before its terminator (bytes for kind 2, UTF-16 units
  // for kind 3), kept by every operation that stores text; 0 for numbers.
  int32_t length_;
};
static_assert(sizeof(vellvar) == 16);

inline vellvar::vellvar(int value) : kind(KindInteger), heap_(false), length_(0) {
  std::memset(raw_, 0, sizeof raw_);
  std::memcpy(raw_, &value, sizeof value);
}

inline vellvar::vellvar(double value) : kind(KindReal), heap_(false), length_(0) {
  std::memset(raw_, 0, sizeof raw_);
  std::memcpy(raw_, &value, sizeof value);
}

// The empty text, the commonest, needs nothing but the cleared buffer.
inline vellvar::vellvar(const char16_t* text) : kind(KindWide), heap_(false), length_(0) {
  std::memset(raw_, 0, sizeof raw_);
  if (text != nullptr && text[0] != 0) StoreWide(text);
}

inline vellvar::vellvar(const vellvar& other)
    : kind(other.kind), heap_(other.heap_), length_(other.length_) {
  std::memcpy(raw_, other.raw_, sizeof raw_);
  if (!heap_) return;
  if (IsString()) {
    ++Block()->refs;
  } else {
    // A number in a block: the copy holds it inline.
    std::memcpy(raw_, other.Block()->Chars(), 8);
    heap_ = false;
  }
}

inline vellvar& vellvar::operator=(const vellvar& other) {
  if (this == &other) return *this;
  if (other.IsString()) {
    if (heap_ || other.heap_) {
      CopyText(other);
      return *this;
    }
    // A short text into a value without a block: the inline buffer as it
    // is, its terminator included.
    std::memcpy(raw_, other.raw_, sizeof raw_);
    kind = other.kind;
    length_ = other.length_;
  } else {
    PutNumber(other.kind, other.Bytes());
  }
  return *this;
}

// A number moves by value: each keeps its own buffer.
inline vellvar& vellvar::operator=(vellvar&& other) noexcept {
  if (other.IsString() || this == &other) return MoveText(std::move(other));
  PutNumber(other.kind, other.Bytes());
  const int32_t zero[2] = {0, 0};
  other.PutNumber(KindInteger, zero);
  return *this;
}

inline vellvar& vellvar::operator=(int value) {
  const int32_t bytes[2] = {value, 0};
  PutNumber(KindInteger, bytes);
  return *this;
}

inline vellvar& vellvar::operator=(double value) {
  PutNumber(KindReal, &value);
  return *this;
}

inline int32_t vellvar::IntValue() const {
  if (kind != KindInteger) return ToInt();
  int32_t x;
  std::memcpy(&x, Bytes(), sizeof x);
  return x;
}

inline double vellvar::RealValue() const {
  if (kind != KindReal) return ToReal();
  double x;
  std::memcpy(&x, Bytes(), sizeof x);
  return x;
}

}  // namespace vell
