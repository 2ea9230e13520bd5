// The one value type of the interpreter: a tagged integer, real, narrow or
// wide string that owns its storage.
//
// Every two-operand operator first converts the left operand in place to the
// kind of the right operand, then acts by that kind; the right operand never
// changes.
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

class vellvar {
 public:
  // Data fields, in this order; the buffer always has capacity + 2 bytes.
  int32_t kind;
  char* data;        // inlineBuffer, or a heap block owned by the value
  int32_t capacity;  // bytes for data, terminator room not counted; 8 = inline
  alignas(8) char inlineBuffer[10];
  // Units of the text before its terminator (bytes for kind 2, UTF-16 units
  // for kind 3), kept by every operation that stores text; 0 for numbers.
  int32_t length;

  vellvar(int value = 0);
  vellvar(double value);
  vellvar(const char16_t* text);        // never null
  vellvar(std::u16string_view text);
  vellvar(const vellvar& other);
  vellvar(vellvar&& other) noexcept;
  ~vellvar();

  vellvar& operator=(const vellvar& other);  // numbers inline below, texts by StoreCopy
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
  vellvar& StoreCopy(const vellvar& other);  // copy assignment of a text
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
  int32_t Length() const;
  std::u16string_view WideView() const;   // kind 3 only
  std::string_view NarrowView() const;    // kind 2 only

  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;
};

inline vellvar& vellvar::operator=(const vellvar& other) {
  if (other.IsString()) return StoreCopy(other);
  if (this != &other) {
    kind = other.kind;
    length = 0;
    std::memcpy(data, other.data, 8);
  }
  return *this;
}

inline vellvar& vellvar::operator=(int value) {
  kind = KindInteger;
  length = 0;
  std::memcpy(data, &value, sizeof value);
  return *this;
}

inline vellvar& vellvar::operator=(double value) {
  kind = KindReal;
  length = 0;
  std::memcpy(data, &value, sizeof value);
  return *this;
}

inline int32_t vellvar::IntValue() const {
  if (kind != KindInteger) return ToInt();
  int32_t x;
  std::memcpy(&x, data, sizeof x);
  return x;
}

inline double vellvar::RealValue() const {
  if (kind != KindReal) return ToReal();
  double x;
  std::memcpy(&x, data, sizeof x);
  return x;
}

}  // namespace vell
