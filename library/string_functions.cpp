// The string functions: LEN MID LEFT RIGHT LOWER UPPER STR VAL ASC CHR HEX
// INSTR REPLACE.
//
// Positions and lengths count UTF-16 units of the text's wide form, from 0; a
// character outside the Basic Multilingual Plane counts as two units. Out of
// range gives the empty text (MID, LEFT, RIGHT) or -1 (INSTR), never an error.
#include <charconv>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/function_families.h"
#include "platform/text_codec.h"

namespace vell {

namespace {

// Stores units [start, start + n) of text as wide text, or the empty text
// when that range does not lie wholly inside it.
void SetSlice(ExecContext& ctx, std::u16string_view text, int64_t start, int64_t n) {
  const int64_t len = static_cast<int64_t>(text.size());
  if (start < 0 || n <= 0 || start + n > len) {
    ctx.value = u"";
    return;
  }
  ctx.value = text.substr(static_cast<size_t>(start), static_cast<size_t>(n));
}

HandlerResult FnLen(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  ctx.value = static_cast<int32_t>(WideArgument(args[0]).size());
  return ResultDone;
}

HandlerResult FnMid(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  SetSlice(ctx, s, args[1].ToInt(), args[2].ToInt());
  return ResultDone;
}

HandlerResult FnLeft(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  SetSlice(ctx, s, 0, args[1].ToInt());
  return ResultDone;
}

HandlerResult FnRight(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  const int64_t n = args[1].ToInt();
  SetSlice(ctx, s, static_cast<int64_t>(s.size()) - n, n);
  return ResultDone;
}

HandlerResult FnLower(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  args[0].ToLower();
  ctx.value = std::move(args[0]);
  return ResultDone;
}

HandlerResult FnUpper(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  args[0].ToUpper();
  ctx.value = std::move(args[0]);
  return ResultDone;
}

HandlerResult FnStr(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  args[0].ChangeKind(KindNarrow);
  ctx.value = std::move(args[0]);
  return ResultDone;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

HandlerResult FnVal(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
    // Hexadecimal after the prefix, up to the first unit that is no hex
    // digit; a value beyond the integer range gives 2147483647.
    int64_t value = 0;
    for (size_t i = 2; i < s.size(); ++i) {
      const int digit = HexDigit(s[i]);
      if (digit < 0) break;
      value = value * 16 + digit;
      if (value > INT32_MAX) value = int64_t{INT32_MAX} + 1;  // stays saturated
    }
    ctx.value = value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
    return ResultDone;
  }
  ctx.value = args[0].ToReal();
  return ResultDone;
}

// The code of the first character in the locale's character set: its bytes
// read as one big-endian number (a single-byte character gives its byte).
HandlerResult FnAsc(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  int32_t code = 0;
  if (!s.empty()) {
    size_t units = 1;
    if (s.size() >= 2 && s[0] >= 0xD800 && s[0] <= 0xDBFF && s[1] >= 0xDC00 && s[1] <= 0xDFFF) {
      units = 2;
    }
    const std::string bytes = text::WideToAnsi(s.substr(0, units));
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size() && i < 4; ++i) {
      value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    code = static_cast<int32_t>(value);
  }
  ctx.value = code;
  return ResultDone;
}

HandlerResult FnChr(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const char16_t unit[2] = {static_cast<char16_t>(static_cast<uint32_t>(args[0].ToInt()) & 0xFFFFU),
                            0};
  ctx.value = unit;  // a zero unit makes the empty text
  return ResultDone;
}

HandlerResult FnHex(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const uint32_t n = static_cast<uint32_t>(args[0].ToInt());
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, n, 16);
  std::u16string text(digits, result.ptr);
  ctx.value = std::u16string_view(text);
  return ResultDone;
}

HandlerResult FnInstr(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  int count = 0;
  if (!ReadArgumentRange(interp, ctx, args.data(), 2, 3, &count)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  const std::u16string_view sub = WideArgument(args[1]);
  const int64_t start = count == 3 ? args[2].ToInt() : 0;
  int32_t found = -1;
  if (!s.empty() && !sub.empty() && start >= 0 && start < static_cast<int64_t>(s.size())) {
    const size_t at = s.find(sub, static_cast<size_t>(start));
    if (at != std::u16string_view::npos) found = static_cast<int32_t>(at);
  }
  ctx.value = found;
  return ResultDone;
}

HandlerResult FnReplace(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<3> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view s = WideArgument(args[0]);
  const std::u16string_view from = WideArgument(args[1]);
  const std::u16string_view to = WideArgument(args[2]);
  if (s.empty() || from.empty()) {
    ctx.value = s;
    return ResultDone;
  }
  // Work out the result's length first: a text longer than any value may
  // hold is the out-of-memory failure before anything is allocated.
  int64_t occurrences = 0;
  for (size_t at = s.find(from); at != std::u16string_view::npos;
       at = s.find(from, at + from.size())) {
    ++occurrences;
  }
  const int64_t resultUnits =
      static_cast<int64_t>(s.size()) +
      occurrences * (static_cast<int64_t>(to.size()) - static_cast<int64_t>(from.size()));
  if (resultUnits * 2 > kMaxTextBytes) throw std::bad_alloc();
  std::u16string result;
  result.reserve(static_cast<size_t>(resultUnits));
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t at = s.find(from, pos);
    if (at == std::u16string_view::npos) {
      result.append(s.substr(pos));
      break;
    }
    result.append(s.substr(pos, at - pos));
    result.append(to);
    pos = at + from.size();
  }
  ctx.value = std::u16string_view(result);
  return ResultDone;
}

}  // namespace

void RegisterStringFunctions(Interpreter& interp) {
  RegisterBuiltin(interp, u"LEN", FnLen);
  RegisterBuiltin(interp, u"MID", FnMid);
  RegisterBuiltin(interp, u"LEFT", FnLeft);
  RegisterBuiltin(interp, u"RIGHT", FnRight);
  RegisterBuiltin(interp, u"LOWER", FnLower);
  RegisterBuiltin(interp, u"UPPER", FnUpper);
  RegisterBuiltin(interp, u"STR", FnStr);
  RegisterBuiltin(interp, u"VAL", FnVal);
  RegisterBuiltin(interp, u"ASC", FnAsc);
  RegisterBuiltin(interp, u"CHR", FnChr);
  RegisterBuiltin(interp, u"HEX", FnHex);
  RegisterBuiltin(interp, u"INSTR", FnInstr);
  RegisterBuiltin(interp, u"REPLACE", FnReplace);
}

}  // namespace vell
