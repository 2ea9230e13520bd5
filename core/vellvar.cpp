// The tagged value: storage, conversions and operators.
#include "core/vellvar.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "platform/memory.h"
#include "platform/text_codec.h"

namespace vell {

namespace {

constexpr int32_t kInlineCapacity = 8;
constexpr int32_t kNumberTextCapacity = 80;

size_t WideLength(const char16_t* p) { return std::char_traits<char16_t>::length(p); }

// Text ends at its first zero unit, as it would in the value's buffer.
size_t UnitsBeforeZero(std::u16string_view text) {
  const char16_t* zero = std::char_traits<char16_t>::find(text.data(), text.size(), u'\0');
  return zero ? size_t(zero - text.data()) : text.size();
}

bool IsBlank(uint32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atoi rules: leading blanks, an optional sign, decimal digits up to the first
// other character. No overflow test: the value wraps in 32 bits.
template <typename Ch>
int32_t ScanInt(const Ch* p) {
  while (IsBlank(uint32_t(*p))) ++p;
  bool negative = false;
  if (*p == Ch('+') || *p == Ch('-')) {
    negative = *p == Ch('-');
    ++p;
  }
  uint32_t value = 0;
  while (*p >= Ch('0') && *p <= Ch('9')) {
    value = value * 10u + uint32_t(*p - Ch('0'));
    ++p;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

// The characters of a number being read: on the stack unless unusually long.
class NumberBuffer {
 public:
  void push_back(char c) {
    if (size_ < sizeof small_) {
      small_[size_] = c;
    } else {
      if (size_ == sizeof small_) large_.assign(small_, size_);
      large_.push_back(c);
    }
    ++size_;
  }
  const char* data() const { return size_ <= sizeof small_ ? small_ : large_.data(); }
  size_t size() const { return size_; }

 private:
  char small_[64];
  size_t size_ = 0;
  std::string large_;
};

// atof rules: leading blanks, an optional sign, decimal digits with an
// optional point and exponent. Hexadecimal, "inf" and "nan" read as 0.
template <typename Ch>
double ScanReal(const Ch* p) {
  while (IsBlank(uint32_t(*p))) ++p;
  bool negative = false;
  if (*p == Ch('+') || *p == Ch('-')) {
    negative = *p == Ch('-');
    ++p;
  }
  NumberBuffer number;
  int64_t intDigits = 0;  // significant digits before the point
  bool nonZeroSeen = false;
  int64_t leadingFractionZeros = 0;
  size_t digits = 0;
  while (*p >= Ch('0') && *p <= Ch('9')) {
    if (*p != Ch('0')) nonZeroSeen = true;
    if (nonZeroSeen) ++intDigits;
    number.push_back(char(*p));
    ++digits;
    ++p;
  }
  if (*p == Ch('.')) {
    number.push_back('.');
    ++p;
    while (*p >= Ch('0') && *p <= Ch('9')) {
      if (*p != Ch('0')) nonZeroSeen = true;
      if (!nonZeroSeen) ++leadingFractionZeros;
      number.push_back(char(*p));
      ++digits;
      ++p;
    }
  }
  if (digits == 0) return 0.0;
  int64_t exponent = 0;
  if (*p == Ch('e') || *p == Ch('E')) {
    const Ch* q = p + 1;
    bool expNegative = false;
    if (*q == Ch('+') || *q == Ch('-')) {
      expNegative = *q == Ch('-');
      ++q;
    }
    if (*q >= Ch('0') && *q <= Ch('9')) {
      number.push_back('e');
      if (expNegative) number.push_back('-');
      while (*q >= Ch('0') && *q <= Ch('9')) {
        number.push_back(char(*q));
        if (exponent < 100000) exponent = exponent * 10 + (*q - Ch('0'));
        ++q;
      }
      if (expNegative) exponent = -exponent;
    }
  }
  double value = 0.0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                   std::chars_format::general);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero, as strtod does.
    int64_t magnitude = intDigits > 0 ? intDigits + exponent : exponent - leadingFractionZeros;
    value = (nonZeroSeen && magnitude > 0) ? HUGE_VAL : 0.0;
  } else if (ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

// Truncates toward zero to 64 bits and keeps the low 32 bits; NaN,
// infinities and reals outside the 64-bit range give 0.
int32_t RealToInt(double d) {
  if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return 0;
  int64_t whole = static_cast<int64_t>(d);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

// The "%.15g" text of a real.
int RealToChars(double d, char* out, int size) {
  auto [end, ec] = std::to_chars(out, out + size, d, std::chars_format::general, 15);
  if (ec != std::errc()) return 0;
  return int(end - out);
}

}  // namespace

// ---- storage ----

namespace detail {

void FreeTextBlock(TextBlock* block) noexcept { vell::ZeroFree(block); }

}  // namespace detail

// The value's storage rules, file-local through the friend declaration.
struct VellvarStorage {
  using TextBlock = detail::TextBlock;

  // A heap block for `bytes` bytes of text and the two terminator bytes,
  // held by one value. Only the first and the last two bytes are cleared:
  // every store writes the terminator after its text, and nothing reads
  // beyond it.
  static TextBlock* NewBlock(int64_t bytes) {
    if (bytes < 0 || bytes > kMaxTextBytes) throw std::bad_alloc();
    auto* block =
        static_cast<TextBlock*>(vell::PlainAlloc(sizeof(TextBlock) + std::size_t(bytes) + 2));
    block->refs = 1;
    block->capacity = int32_t(bytes);
    char* chars = block->Chars();
    chars[0] = 0;
    chars[1] = 0;
    chars[bytes] = 0;
    chars[bytes + 1] = 0;
    return block;
  }

  static void UseBlock(vellvar& v, TextBlock* block) {
    std::memcpy(v.raw_, &block, sizeof block);
    v.heap_ = true;
  }

  // The buffer, for writing: only while no other value shares it.
  static char* Buffer(vellvar& v) { return v.heap_ ? v.Block()->Chars() : v.raw_; }

  static bool Shared(const vellvar& v) { return v.heap_ && v.Block()->refs > 1; }

  // The capacity for n bytes that do not fit: a heap block grows by half
  // again at least, so that a text built piece by piece is not moved on
  // every piece; a value in its inline buffer gets exactly what it needs.
  static int64_t GrownCapacity(const vellvar& v, int64_t n) {
    if (!v.heap_) return n;
    const int64_t capacity = v.Block()->capacity;
    int64_t grown = capacity + capacity / 2;
    if (grown > kMaxTextBytes) grown = kMaxTextBytes;
    return grown > n ? grown : n;
  }

  static int32_t UnitsOf(int32_t kind, int64_t bytes) {
    return int32_t(kind == KindWide ? bytes / 2 : bytes);
  }

  static void Terminate(vellvar& v, int32_t kind, int64_t n) {
    char* buffer = Buffer(v);
    buffer[n] = 0;
    buffer[n + 1] = 0;
    v.kind = static_cast<int8_t>(kind);
    v.length_ = UnitsOf(kind, n);
  }

  // Stores n bytes of text by the growth rule. The source may lie inside
  // the value's own buffer: a shared block stays alive with its other
  // holders, a block held alone is moved only after the copy.
  static void StoreText(vellvar& v, int32_t kind, const void* src, int64_t n) {
    if (Shared(v)) v.Release();  // the whole text is replaced: nothing to copy
    if (n > v.Capacity()) {
      TextBlock* block = NewBlock(GrownCapacity(v, n));
      if (n > 0) std::memcpy(block->Chars(), src, size_t(n));
      if (v.heap_) v.Release();
      UseBlock(v, block);
    } else if (n > 0) {
      std::memmove(Buffer(v), src, size_t(n));
    }
    Terminate(v, kind, n);
  }

  // Gives the value a block of its own before its text is changed in place.
  static void Unshare(vellvar& v) {
    if (!Shared(v)) return;
    TextBlock* block = NewBlock(v.Block()->capacity);
    std::memcpy(block->Chars(), v.Block()->Chars(), size_t(ByteLength(v)) + 2);
    v.Release();
    UseBlock(v, block);
  }

  // Makes sure the capacity is at least 80 bytes before a number becomes text.
  static void NumberTextRoom(vellvar& v) {
    if (v.Capacity() >= kNumberTextCapacity && !Shared(v)) return;
    TextBlock* block = NewBlock(kNumberTextCapacity);
    if (v.heap_) v.Release();
    UseBlock(v, block);
  }

  static int64_t ByteLength(const vellvar& v) {
    if (v.kind == KindNarrow) return v.length_;
    if (v.kind == KindWide) return int64_t(v.length_) * 2;
    return 0;
  }

  static int32_t GetInt(const vellvar& v) {
    int32_t x;
    std::memcpy(&x, v.Bytes(), sizeof x);
    return x;
  }
  static double GetReal(const vellvar& v) {
    double x;
    std::memcpy(&x, v.Bytes(), sizeof x);
    return x;
  }
  static void PutInt(vellvar& v, int32_t x) { v = x; }
  static void PutReal(vellvar& v, double x) { v = x; }

  // Number to text in place: the decimal text, after the 80-byte step.
  static void StoreNumberText(vellvar& v, int32_t textKind) {
    char text[40];
    const int n = v.kind == KindInteger
                      ? int(std::to_chars(text, text + sizeof text, GetInt(v)).ptr - text)
                      : RealToChars(GetReal(v), text, sizeof text);
    NumberTextRoom(v);
    if (textKind == KindNarrow) {
      StoreText(v, KindNarrow, text, n);
      return;
    }
    char16_t wide[40];
    for (int i = 0; i < n; ++i) wide[i] = char16_t(static_cast<unsigned char>(text[i]));
    StoreText(v, KindWide, wide, int64_t(n) * 2);
  }

  static void Append(vellvar& v, const vellvar& right) {
    const int64_t leftBytes = ByteLength(v);
    const int64_t rightBytes = ByteLength(right);
    const int64_t n = leftBytes + rightBytes;
    if (n > v.Capacity() || Shared(v)) {
      // A new block; the right text may lie in the old one, which stays
      // alive until both are copied.
      TextBlock* block = NewBlock(n > v.Capacity() ? GrownCapacity(v, n) : v.Capacity());
      std::memcpy(block->Chars(), v.Bytes(), size_t(leftBytes));
      std::memcpy(block->Chars() + leftBytes, right.Bytes(), size_t(rightBytes));
      if (v.heap_) v.Release();
      UseBlock(v, block);
    } else {
      std::memmove(Buffer(v) + leftBytes, right.Bytes(), size_t(rightBytes));
    }
    Terminate(v, v.kind, n);
  }

  static void MakeEmptyText(vellvar& v) {
    if (Shared(v)) v.Release();
    Terminate(v, v.kind, 0);
  }

  // Integer 0 on the inline buffer.
  static void ResetToZero(vellvar& v) noexcept {
    v.kind = KindInteger;
    v.heap_ = false;
    v.length_ = 0;
    std::memset(v.raw_, 0, sizeof v.raw_);
  }
};

namespace {

using Access = VellvarStorage;

// The text of a value converted to the given string kind, without changing
// the value.
std::string NarrowCopy(const vellvar& v) {
  vellvar copy(v);
  copy.ChangeKind(KindNarrow);
  return std::string(copy.NarrowView());
}

std::u16string WideCopy(const vellvar& v) {
  vellvar copy(v);
  copy.ChangeKind(KindWide);
  return std::u16string(copy.WideView());
}

}  // namespace

void vellvar::Release() noexcept {
  detail::TextBlock* block = Block();
  if (--block->refs == 0) detail::FreeTextBlock(block);
  heap_ = false;
  std::memset(raw_, 0, 8);
}

int32_t vellvar::Capacity() const { return heap_ ? Block()->capacity : kInlineCapacity; }

void vellvar::CopyText(const vellvar& other) {
  if (!other.heap_) {
    Access::StoreText(*this, other.kind, other.raw_, Access::ByteLength(other));
    return;
  }
  // Shares the block; taken first, so that a value sharing it already keeps it.
  detail::TextBlock* block = other.Block();
  ++block->refs;
  if (heap_) Release();
  Access::UseBlock(*this, block);
  kind = other.kind;
  length_ = other.length_;
}

bool vellvar::TakeBlockForAppend(vellvar& owner, const vellvar& right) {
  if (!heap_ || !owner.heap_ || Block() != owner.Block() || Block()->refs != 2) return false;
  if (!IsString() || right.kind != kind) return false;
  if (Access::ByteLength(*this) + Access::ByteLength(right) > Block()->capacity) return false;
  owner.Release();
  Access::ResetToZero(owner);
  return true;
}

// ---- construction ----

void vellvar::StoreWide(const char16_t* text) {
  const std::u16string_view view(text);
  Access::StoreText(*this, KindWide, view.data(), int64_t(UnitsBeforeZero(view)) * 2);
}

vellvar::vellvar(std::u16string_view text) : kind(KindWide), heap_(false), length_(0) {
  std::memset(raw_, 0, sizeof raw_);
  Access::StoreText(*this, KindWide, text.data(), int64_t(UnitsBeforeZero(text)) * 2);
}

vellvar::vellvar(vellvar&& other) noexcept
    : kind(other.kind), heap_(other.heap_), length_(other.length_) {
  std::memcpy(raw_, other.raw_, sizeof raw_);
  if (heap_ && !IsString()) {
    // A number in a heap block: the number moves, the block stays for the
    // next text the source holds.
    std::memcpy(raw_, other.Block()->Chars(), 8);
    heap_ = false;
    const int32_t zero[2] = {0, 0};
    other.PutNumber(KindInteger, zero);
    return;
  }
  Access::ResetToZero(other);
}

// ---- assignment ----

vellvar& vellvar::MoveText(vellvar&& other) noexcept {
  if (this == &other) return *this;
  if (other.heap_ && other.IsString()) {
    if (heap_) Release();
    std::memcpy(raw_, other.raw_, sizeof raw_);
    heap_ = true;
    kind = other.kind;
    length_ = other.length_;
    Access::ResetToZero(other);
  } else if (other.IsString()) {
    // Text in other's inline buffer: fits in any buffer, so this keeps its
    // own unless it shares it.
    if (Access::Shared(*this)) Release();
    std::memcpy(Access::Buffer(*this), other.raw_, sizeof other.raw_);
    kind = other.kind;
    length_ = other.length_;
    Access::ResetToZero(other);
  } else {
    // A number: each keeps its own buffer.
    PutNumber(other.kind, other.Bytes());
    const int32_t zero[2] = {0, 0};
    other.PutNumber(KindInteger, zero);
  }
  return *this;
}

vellvar& vellvar::operator=(const char* text) {
  if (text == nullptr) text = "";
  Access::StoreText(*this, KindNarrow, text, int64_t(std::strlen(text)));
  return *this;
}

vellvar& vellvar::operator=(const char16_t* text) {
  if (text == nullptr) text = u"";
  Access::StoreText(*this, KindWide, text, int64_t(WideLength(text)) * 2);
  return *this;
}

vellvar& vellvar::operator=(std::u16string_view text) {
  Access::StoreText(*this, KindWide, text.data(), int64_t(UnitsBeforeZero(text)) * 2);
  return *this;
}

vellvar& vellvar::AssignNarrow(std::string_view bytes) {
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  size_t n = zero ? size_t(static_cast<const char*>(zero) - bytes.data()) : bytes.size();
  Access::StoreText(*this, KindNarrow, bytes.data(), int64_t(n));
  return *this;
}

// ---- conversions ----

vellvar& vellvar::ConvertKind(int32_t newKind) {
  if (kind == newKind) return *this;
  switch (newKind) {
    case KindInteger:
      Access::PutInt(*this, ToInt());
      break;
    case KindReal:
      Access::PutReal(*this, ToReal());
      break;
    case KindNarrow:
      if (kind == KindInteger || kind == KindReal) {
        Access::StoreNumberText(*this, KindNarrow);
      } else {  // wide
        std::string narrow = vell::text::WideToAnsi(WideView());
        Access::StoreText(*this, KindNarrow, narrow.data(), int64_t(narrow.size()));
      }
      break;
    case KindWide:
      if (kind == KindInteger || kind == KindReal) {
        Access::StoreNumberText(*this, KindWide);
      } else {  // narrow
        std::u16string wide = vell::text::AnsiToWide(NarrowView());
        // Room for two bytes per narrow byte, as the conversion has always
        // reserved; the wide text never needs more.
        const int64_t room = int64_t(length_) * 2;
        if (Access::Shared(*this)) Release();
        if (room > Capacity()) {
          detail::TextBlock* block = Access::NewBlock(room);
          if (heap_) Release();
          Access::UseBlock(*this, block);
        }
        Access::StoreText(*this, KindWide, wide.data(), int64_t(wide.size()) * 2);
      }
      break;
    default:
      break;
  }
  return *this;
}

int32_t vellvar::ToInt() const {
  switch (kind) {
    case KindInteger:
      return Access::GetInt(*this);
    case KindReal:
      return RealToInt(Access::GetReal(*this));
    case KindNarrow:
      return ScanInt(reinterpret_cast<const unsigned char*>(Bytes()));
    case KindWide:
      return ScanInt(reinterpret_cast<const char16_t*>(Bytes()));
  }
  return 0;
}

double vellvar::ToReal() const {
  switch (kind) {
    case KindInteger:
      return double(Access::GetInt(*this));
    case KindReal:
      return Access::GetReal(*this);
    case KindNarrow:
      return ScanReal(reinterpret_cast<const unsigned char*>(Bytes()));
    case KindWide:
      return ScanReal(reinterpret_cast<const char16_t*>(Bytes()));
  }
  return 0.0;
}

const char* vellvar::Text() {
  ChangeKind(KindNarrow);
  return Bytes();
}

const char16_t* vellvar::WideText() {
  ChangeKind(KindWide);
  return reinterpret_cast<const char16_t*>(Bytes());
}

// ---- arithmetic ----

vellvar& vellvar::operator+=(const vellvar& right) {
  ChangeKind(right.kind);
  switch (kind) {
    case KindInteger:
      Access::PutInt(*this, int32_t(uint32_t(Access::GetInt(*this)) + uint32_t(right.IntValue())));
      break;
    case KindReal:
      Access::PutReal(*this, Access::GetReal(*this) + right.RealValue());
      break;
    default:
      Access::Append(*this, right);
      break;
  }
  return *this;
}

vellvar& vellvar::operator-=(const vellvar& right) {
  ChangeKind(right.kind);
  switch (kind) {
    case KindInteger:
      Access::PutInt(*this, int32_t(uint32_t(Access::GetInt(*this)) - uint32_t(right.IntValue())));
      break;
    case KindReal:
      Access::PutReal(*this, Access::GetReal(*this) - right.RealValue());
      break;
    default:
      Access::MakeEmptyText(*this);
      break;
  }
  return *this;
}

vellvar& vellvar::operator*=(const vellvar& right) {
  ChangeKind(right.kind);
  switch (kind) {
    case KindInteger:
      Access::PutInt(*this, int32_t(uint32_t(Access::GetInt(*this)) * uint32_t(right.IntValue())));
      break;
    case KindReal:
      Access::PutReal(*this, Access::GetReal(*this) * right.RealValue());
      break;
    default:
      Access::MakeEmptyText(*this);
      break;
  }
  return *this;
}

vellvar& vellvar::operator/=(const vellvar& right) {
  ChangeKind(right.kind);
  switch (kind) {
    case KindInteger: {
      const int32_t a = Access::GetInt(*this);
      const int32_t b = right.IntValue();
      int32_t q;
      if (b == 0) {
        q = 0;  // never trap; the evaluator reports division by zero itself
      } else if (b == -1) {
        q = int32_t(0u - uint32_t(a));  // INT_MIN / -1 wraps to INT_MIN
      } else {
        q = a / b;
      }
      Access::PutInt(*this, q);
      break;
    }
    case KindReal:
      Access::PutReal(*this, Access::GetReal(*this) / right.RealValue());
      break;
    default:
      Access::MakeEmptyText(*this);
      break;
  }
  return *this;
}

vellvar& vellvar::Concat(const vellvar& right) {
  ChangeKind(right.kind);
  if (IsString()) Access::Append(*this, right);
  return *this;
}

// ---- comparisons ----

namespace {

// -1, 0 or 1; the left value already has the right value's kind.
int Compare(const vellvar& a, const vellvar& b) {
  switch (a.kind) {
    case KindInteger: {
      int32_t x = a.IntValue(), y = b.IntValue();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case KindNarrow: {
      const auto* p = reinterpret_cast<const unsigned char*>(a.Bytes());
      const auto* q = reinterpret_cast<const unsigned char*>(b.Bytes());
      while (*p != 0 && *p == *q) {
        ++p;
        ++q;
      }
      return *p < *q ? -1 : (*p > *q ? 1 : 0);
    }
    case KindWide: {
      const auto* p = reinterpret_cast<const char16_t*>(a.Bytes());
      const auto* q = reinterpret_cast<const char16_t*>(b.Bytes());
      while (*p != 0 && *p == *q) {
        ++p;
        ++q;
      }
      return *p < *q ? -1 : (*p > *q ? 1 : 0);
    }
  }
  return 0;
}

}  // namespace

int vellvar::operator==(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() == right.RealValue();
  return Compare(*this, right) == 0;
}

int vellvar::operator!=(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() != right.RealValue();
  return Compare(*this, right) != 0;
}

int vellvar::operator>(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() > right.RealValue();
  return Compare(*this, right) > 0;
}

int vellvar::operator<(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() < right.RealValue();
  return Compare(*this, right) < 0;
}

int vellvar::operator>=(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() >= right.RealValue();
  return Compare(*this, right) >= 0;
}

int vellvar::operator<=(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindReal) return RealValue() <= right.RealValue();
  return Compare(*this, right) <= 0;
}

int vellvar::operator&&(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindInteger) return IntValue() != 0 && right.IntValue() != 0;
  if (kind == KindReal) return RealValue() != 0.0 && right.RealValue() != 0.0;
  return 0;
}

int vellvar::operator||(const vellvar& right) {
  ChangeKind(right.kind);
  if (kind == KindInteger) return IntValue() != 0 || right.IntValue() != 0;
  if (kind == KindReal) return RealValue() != 0.0 || right.RealValue() != 0.0;
  return 0;
}

// ---- other operations ----

vellvar& vellvar::Negate() {
  if (kind == KindInteger) {
    Access::PutInt(*this, int32_t(0u - uint32_t(Access::GetInt(*this))));
  } else if (kind == KindReal) {
    Access::PutReal(*this, -Access::GetReal(*this));
  }
  return *this;
}

vellvar& vellvar::LeftCopy(const vellvar& source, int32_t n) {
  if (!source.IsString()) return *this;
  const int64_t unitSize = source.kind == KindWide ? 2 : 1;
  const int64_t units = Access::ByteLength(source) / unitSize;
  int64_t count = n < 0 ? 0 : (int64_t(n) < units ? int64_t(n) : units);
  Access::StoreText(*this, source.kind, source.Bytes(), count * unitSize);
  return *this;
}

vellvar& vellvar::ToLower() {
  if (!IsString()) return *this;
  Access::Unshare(*this);
  if (kind == KindNarrow) {
    for (char* p = Access::Buffer(*this); *p; ++p) {
      if (*p >= 'A' && *p <= 'Z') *p = char(*p + 32);
    }
  } else {
    auto* p = reinterpret_cast<char16_t*>(Access::Buffer(*this));
    for (; *p; ++p) *p = vell::text::WideToLower(*p);
    length_ = int32_t(WideLength(reinterpret_cast<const char16_t*>(Bytes())));
  }
  return *this;
}

vellvar& vellvar::ToUpper() {
  if (!IsString()) return *this;
  Access::Unshare(*this);
  if (kind == KindNarrow) {
    for (char* p = Access::Buffer(*this); *p; ++p) {
      if (*p >= 'a' && *p <= 'z') *p = char(*p - 32);
    }
  } else {
    auto* p = reinterpret_cast<char16_t*>(Access::Buffer(*this));
    for (; *p; ++p) *p = vell::text::WideToUpper(*p);
    length_ = int32_t(WideLength(reinterpret_cast<const char16_t*>(Bytes())));
  }
  return *this;
}

namespace {

// Position of pattern in text at or after start, or -1; either empty gives -1.
template <typename View>
int32_t FindIn(View text, View pattern, int32_t start) {
  if (text.empty() || pattern.empty() || start < 0 || size_t(start) > text.size()) return -1;
  const size_t at = text.find(pattern, size_t(start));
  return at == View::npos ? -1 : int32_t(at);
}

}  // namespace

int32_t vellvar::Find(const vellvar& pattern, int32_t start) const {
  // A pattern of another kind is read as a converted copy, never past its buffer.
  if (kind == KindNarrow) {
    if (pattern.kind == KindNarrow) return FindIn(NarrowView(), pattern.NarrowView(), start);
    const std::string converted = NarrowCopy(pattern);
    return FindIn(NarrowView(), std::string_view(converted), start);
  }
  if (kind == KindWide) {
    if (pattern.kind == KindWide) return FindIn(WideView(), pattern.WideView(), start);
    const std::u16string converted = WideCopy(pattern);
    return FindIn(WideView(), std::u16string_view(converted), start);
  }
  return -1;
}

namespace {

template <typename Str>
Str ReplaceText(const Str& text, const Str& pattern, const Str& replacement, int64_t* estimate) {
  const int64_t L = int64_t(text.size());
  const int64_t P = int64_t(pattern.size());
  const int64_t R = int64_t(replacement.size());
  if (P >= R) {
    *estimate = L;
  } else {
    // Every position where the pattern matches, overlapping ones included,
    // so the estimate is never too small.
    int64_t matches = 0;
    for (size_t at = text.find(pattern); at != Str::npos; at = text.find(pattern, at + 1)) {
      ++matches;
    }
    *estimate = L + (R - P) * matches;
  }
  // A result no value can hold fails before it is built.
  if (*estimate * int64_t(sizeof(typename Str::value_type)) > kMaxTextBytes) throw std::bad_alloc();
  Str out;
  size_t pos = 0;
  for (;;) {
    size_t at = text.find(pattern, pos);
    if (at == Str::npos) break;
    out.append(text, pos, at - pos);
    out.append(replacement);
    pos = at + pattern.size();
  }
  out.append(text, pos, Str::npos);
  return out;
}

}  // namespace

vellvar& vellvar::ReplaceAll(const vellvar& pattern, const vellvar& replacement) {
  if (!IsString()) return *this;
  int64_t estimateBytes = 0;
  int64_t resultBytes = 0;
  std::string narrowResult;
  std::u16string wideResult;
  const void* result = nullptr;
  if (kind == KindNarrow) {
    std::string text(NarrowView());
    std::string pat = NarrowCopy(pattern);
    if (text.empty() || pat.empty()) return *this;
    int64_t estimate = 0;
    narrowResult = ReplaceText(text, pat, NarrowCopy(replacement), &estimate);
    estimateBytes = estimate;
    resultBytes = int64_t(narrowResult.size());
    result = narrowResult.data();
  } else {
    std::u16string text(WideView());
    std::u16string pat = WideCopy(pattern);
    if (text.empty() || pat.empty()) return *this;
    int64_t estimate = 0;
    wideResult = ReplaceText(text, pat, WideCopy(replacement), &estimate);
    estimateBytes = estimate * 2;
    resultBytes = int64_t(wideResult.size()) * 2;
    result = wideResult.data();
  }
  // The buffer is sized to the estimate: the inline buffer when it fits
  // there, else a new block of exactly that size.
  if (estimateBytes <= kInlineCapacity) {
    if (heap_) Release();
  } else {
    detail::TextBlock* block = Access::NewBlock(estimateBytes);
    if (heap_) Release();
    Access::UseBlock(*this, block);
  }
  Access::StoreText(*this, kind, result, resultBytes);
  return *this;
}

// ---- readers ----

std::u16string_view vellvar::WideView() const {
  if (kind != KindWide) return {};
  return std::u16string_view(reinterpret_cast<const char16_t*>(Bytes()), size_t(length_));
}

std::string_view vellvar::NarrowView() const {
  if (kind != KindNarrow) return {};
  return std::string_view(Bytes(), size_t(length_));
}

void* vellvar::operator new(std::size_t size) { return vell::ZeroAlloc(size); }

void vellvar::operator delete(void* p) noexcept { vell::ZeroFree(p); }

}  // namespace vell
