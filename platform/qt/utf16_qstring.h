// Text between the interpreter's UTF-16 strings and QString, unit for unit
// (no conversion: both hold UTF-16).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vell::qt {

inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// Valid while `text` lives unchanged.
inline std::u16string_view Utf16View(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

inline std::u16string ToU16String(const QString& text) { return std::u16string(Utf16View(text)); }

}  // namespace vell::qt
