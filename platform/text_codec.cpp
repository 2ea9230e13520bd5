// Text conversions: UTF-8 by hand, every other character set through iconv.
#include "platform/text_codec.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>

namespace vell::text {
namespace {

constexpr const char* kWideCharset =
    std::endian::native == std::endian::big ? "UTF-16BE" : "UTF-16LE";
constexpr char16_t kReplacement = 0xFFFD;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsUtf8Name(std::string_view name) { return SameName(name, "UTF-8") || SameName(name, "UTF8"); }

bool CountsAsUtf8(std::string_view name) {
  return name.empty() || IsUtf8Name(name) || SameName(name, "ANSI_X3.4-1968") ||
         SameName(name, "ASCII") || SameName(name, "US-ASCII") || SameName(name, "C") ||
         SameName(name, "POSIX");
}

// One pair of converters per character set, opened on first use and kept for
// the life of the process. A conversion resets the converter's shift state
// before it starts, so converters can be used again by any later call.
struct ConverterPair {
  iconv_t fromWide = reinterpret_cast<iconv_t>(-1);
  iconv_t toWide = reinterpret_cast<iconv_t>(-1);
};

ConverterPair& Converters(std::string_view charset) {
  // Kept for the whole process (never destroyed, so conversions made while
  // other static objects are destroyed still work).
  static auto& table = *new std::map<std::string, ConverterPair, std::less<>>;
  auto found = table.find(charset);
  if (found != table.end()) return found->second;
  std::string name(charset);
  ConverterPair pair;
  pair.fromWide = iconv_open(name.c_str(), kWideCharset);
  pair.toWide = iconv_open(kWideCharset, name.c_str());
  return table.emplace(std::move(name), pair).first->second;
}

bool Valid(iconv_t cd) { return cd != reinterpret_cast<iconv_t>(-1); }

struct AnsiState {
  std::string charset;
  bool utf8 = true;
};

const AnsiState& Ansi() {
  static const AnsiState state = [] {
    AnsiState s;
    const char* current = setlocale(LC_CTYPE, nullptr);
    if (current == nullptr || std::strcmp(current, "C") == 0 ||
        std::strcmp(current, "POSIX") == 0) {
      setlocale(LC_CTYPE, "");
    }
    const char* codeset = nl_langinfo(CODESET);
    std::string name = codeset ? codeset : "";
    if (CountsAsUtf8(name)) {
      s.charset = "UTF-8";
      s.utf8 = true;
    } else {
      s.charset = name;
      s.utf8 = false;
      ConverterPair& pair = Converters(name);
      // A character set iconv does not know: fall back to UTF-8.
      if (!Valid(pair.fromWide) || !Valid(pair.toWide)) {
        s.charset = "UTF-8";
        s.utf8 = true;
      }
    }
    return s;
  }();
  return state;
}

// Runs one iconv step, growing the output as needed; false on a conversion
// error (errno tells which), true when all input was consumed. Without input
// it writes what returns the converter to its initial shift state.
bool Step(iconv_t cd, char** in, size_t* inLeft, std::string& out, size_t& used) {
  for (;;) {
    if (out.size() - used < 16) out.resize(out.size() * 2 + 32);
    char* o = out.data() + used;
    size_t oLeft = out.size() - used;
    size_t r = iconv(cd, in, inLeft, &o, &oLeft);
    used = size_t(o - out.data());
    if (r != size_t(-1)) return true;
    if (errno == E2BIG) {
      out.resize(out.size() * 2 + 32);
      continue;
    }
    return false;
  }
}

std::string FromWide(iconv_t cd, std::u16string_view text) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  out.resize(text.size() * 2 + 32);
  size_t used = 0;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  size_t inLeft = text.size() * sizeof(char16_t);
  while (inLeft > 0) {
    if (Step(cd, &in, &inLeft, out, used)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    // A character the set cannot hold, or an unpaired surrogate: skip it
    // (a whole surrogate pair at once) and write '?' in its place.
    const char16_t* unit = reinterpret_cast<const char16_t*>(in);
    size_t skip = 2;
    if (unit[0] >= 0xD800 && unit[0] <= 0xDBFF && inLeft >= 4 && unit[1] >= 0xDC00 &&
        unit[1] <= 0xDFFF) {
      skip = 4;
    }
    in += skip;
    inLeft -= skip;
    static const char16_t question[] = u"?";
    char* qIn = const_cast<char*>(reinterpret_cast<const char*>(question));
    size_t qLeft = sizeof(char16_t);
    if (!Step(cd, &qIn, &qLeft, out, used)) {
      if (out.size() - used < 1) out.resize(out.size() * 2 + 32);
      out[used++] = '?';
    }
  }
  // Return to the initial shift state.
  Step(cd, nullptr, nullptr, out, used);
  out.resize(used);
  return out;
}

std::u16string ToWide(iconv_t cd, std::string_view bytes) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  out.resize(bytes.size() * 2 + 32);
  size_t used = 0;
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  auto putReplacement = [&] {
    if (out.size() - used < 2) out.resize(out.size() * 2 + 32);
    std::memcpy(out.data() + used, &kReplacement, 2);
    used += 2;
  };
  while (inLeft > 0) {
    if (Step(cd, &in, &inLeft, out, used)) break;
    if (errno == EILSEQ) {
      putReplacement();
      ++in;
      --inLeft;
    } else if (errno == EINVAL) {
      // An incomplete sequence at the end.
      putReplacement();
      break;
    } else {
      break;
    }
  }
  std::u16string result(used / 2, u'\0');
  std::memcpy(result.data(), out.data(), result.size() * 2);
  return result;
}

locale_t CaseLocale() {
  static locale_t loc = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      locale_t l = newlocale(LC_CTYPE_MASK, name, locale_t(0));
      if (l != locale_t(0)) return l;
    }
    return locale_t(0);
  }();
  return loc;
}

}  // namespace

const std::string& AnsiCharset() { return Ansi().charset; }

std::string WideToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2 + 4);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = text[i];
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      if (c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00);
        ++i;
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
      } else {
        out.push_back('?');  // an unpaired surrogate has no UTF-8 form
      }
    } else {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string Utf8ToWide(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    unsigned char b = s[i];
    if (b < 0x80) {
      out.push_back(char16_t(b));
      ++i;
      continue;
    }
    int need;
    uint32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    // Take the longest valid prefix; an invalid or cut-off sequence gives one
    // replacement character for that prefix.
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      if (j >= n || s[j] < lo || s[j] > hi) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (s[j] & 0x3F);
      lo = 0x80;
      hi = 0xBF;
    }
    if (!ok) {
      out.push_back(kReplacement);
      i = j;
      continue;
    }
    i = j;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
  }
  return out;
}

std::string WideToCharset(std::u16string_view text, std::string_view charset) {
  if (CountsAsUtf8(charset)) return WideToUtf8(text);
  ConverterPair& pair = Converters(charset);
  if (!Valid(pair.fromWide)) return WideToUtf8(text);
  return FromWide(pair.fromWide, text);
}

std::u16string CharsetToWide(std::string_view bytes, std::string_view charset) {
  if (CountsAsUtf8(charset)) return Utf8ToWide(bytes);
  ConverterPair& pair = Converters(charset);
  if (!Valid(pair.toWide)) return Utf8ToWide(bytes);
  return ToWide(pair.toWide, bytes);
}

std::string WideToAnsi(std::u16string_view text) {
  const AnsiState& a = Ansi();
  if (a.utf8) return WideToUtf8(text);
  return FromWide(Converters(a.charset).fromWide, text);
}

std::u16string AnsiToWide(std::string_view bytes) {
  const AnsiState& a = Ansi();
  if (a.utf8) return Utf8ToWide(bytes);
  return ToWide(Converters(a.charset).toWide, bytes);
}

bool AnsiRoundTrips(std::u16string_view text) { return AnsiToWide(WideToAnsi(text)) == text; }

char16_t WideToUpper(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  if (locale_t loc = CaseLocale()) {
    wint_t r = towupper_l(wint_t(c), loc);
    if (r <= 0xFFFF && !(r >= 0xD800 && r <= 0xDFFF)) return char16_t(r);
    return c;
  }
  // Without a Unicode locale: Latin-1 letters only.
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return char16_t(c - 32);
  if (c == 0xFF) return 0x178;
  return c;
}

char16_t WideToLower(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  if (locale_t loc = CaseLocale()) {
    wint_t r = towlower_l(wint_t(c), loc);
    if (r <= 0xFFFF && !(r >= 0xD800 && r <= 0xDFFF)) return char16_t(r);
    return c;
  }
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char16_t(c + 32);
  if (c == 0x178) return 0xFF;
  return c;
}

}  // namespace vell::text
