#include "library/sql/field_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>

#include "platform/text_codec.h"

namespace vell::sql {
namespace {

QString RealText(double d) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, 15);
  if (ec != std::errc()) return QString();
  return QString::fromLatin1(buffer, int(end - buffer));
}

QString DateText(QDate d) { return d.toString(QStringLiteral("yyyy/MM/dd")); }
QString TimeText(QTime t) { return t.toString(QStringLiteral("H:mm:ss")); }

// A date written yyyy-MM-dd or yyyy/MM/dd (months and days with one or two
// digits).
QDate ParseDate(QStringView s) {
  const QChar sep = s.size() > 4 ? s[4] : QChar();
  if (sep != u'-' && sep != u'/') return {};
  const auto parts = s.split(sep);
  if (parts.size() != 3 || parts[0].size() != 4) return {};
  bool ok1 = false, ok2 = false, ok3 = false;
  for (const auto& p : parts) {
    if (p.isEmpty() || p.size() > 4) return {};
    for (QChar c : p)
      if (!c.isDigit() || c.unicode() > 127) return {};
  }
  const int y = parts[0].toInt(&ok1), m = parts[1].toInt(&ok2), d = parts[2].toInt(&ok3);
  if (!ok1 || !ok2 || !ok3 || parts[1].size() > 2 || parts[2].size() > 2) return {};
  return QDate(y, m, d);
}

// H:mm or H:mm:ss, seconds possibly with a fraction.
QTime ParseTime(QStringView s) {
  const auto parts = s.split(u':');
  if (parts.size() < 2 || parts.size() > 3) return {};
  int values[3] = {0, 0, 0};
  int msec = 0;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    QStringView p = parts[i];
    if (i == 2) {
      const qsizetype dot = p.indexOf(u'.');
      if (dot >= 0) {
        QStringView fraction = p.mid(dot + 1);
        p = p.left(dot);
        if (fraction.isEmpty() || fraction.size() > 9) return {};
        for (QChar c : fraction)
          if (c < u'0' || c > u'9') return {};
        msec = fraction.left(3).toString().leftJustified(3, u'0').toInt();
      }
    }
    if (p.isEmpty() || p.size() > 2) return {};
    for (QChar c : p)
      if (c < u'0' || c > u'9') return {};
    values[i] = p.toInt();
  }
  return QTime(values[0], values[1], values[2], msec);
}

// A date-time: a date, then optionally a blank or 'T' and a time.
QDateTime ParseDateTime(QStringView s) {
  qsizetype split = s.indexOf(u' ');
  if (split < 0) split = s.indexOf(u'T');
  const QDate date = ParseDate(split < 0 ? s : s.left(split));
  if (!date.isValid()) return {};
  if (split < 0) return QDateTime(date, QTime(0, 0));
  const QTime time = ParseTime(s.mid(split + 1).trimmed());
  if (!time.isValid()) return {};
  return QDateTime(date, time);
}

bool ParseInteger(const QString& text, qlonglong* out) {
  const std::string s = text.trimmed().toStdString();
  if (s.empty()) return false;
  const char* begin = s.data();
  const char* end = s.data() + s.size();
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, *out);
  return ec == std::errc() && ptr == end;
}

bool ParseReal(const QString& text, double* out) {
  const std::string s = text.trimmed().toStdString();
  if (s.empty()) return false;
  const char* begin = s.data();
  const char* end = s.data() + s.size();
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, *out, std::chars_format::general);
  return ec == std::errc() && ptr == end && std::isfinite(*out);
}

QString Quote(const QString& text) { return u'\'' + text + u'\''; }

}  // namespace

FieldType TypeFromDeclaration(const QString& declared) {
  const QString t = declared.toUpper();
  if (t.contains(u"DATETIME") || t.contains(u"TIMESTAMP")) return FieldType::DateTime;
  if (t.startsWith(u"DATE")) return FieldType::Date;
  if (t.startsWith(u"TIME")) return FieldType::Time;
  if (t.contains(u"INT")) return FieldType::Integer;
  if (t.contains(u"CHAR") || t.contains(u"CLOB") || t.contains(u"TEXT")) return FieldType::Text;
  if (t.contains(u"BLOB")) return FieldType::Blob;
  if (t.contains(u"BOOL")) return FieldType::Boolean;
  if (t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"DOUB") || t.contains(u"NUM") ||
      t.contains(u"DEC"))
    return FieldType::Real;
  return FieldType::Text;
}

FieldType TypeFromMeta(QMetaType type) {
  switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
      return FieldType::Real;
    case QMetaType::Bool:
      return FieldType::Boolean;
    case QMetaType::QDate:
      return FieldType::Date;
    case QMetaType::QDateTime:
      return FieldType::DateTime;
    case QMetaType::QTime:
      return FieldType::Time;
    case QMetaType::QByteArray:
      return FieldType::Blob;
    default:
      return FieldType::Text;
  }
}

QString FieldText(const QVariant& value, FieldType type) {
  if (value.isNull()) return QString();
  switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = value.toDouble();
      if (type == FieldType::Boolean) return d != 0 ? QStringLiteral("True") : QStringLiteral("False");
      return RealText(d);
    }
    case QMetaType::Bool:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
      return DateText(value.toDate());
    case QMetaType::QDateTime: {
      const QDateTime dt = value.toDateTime();
      return DateText(dt.date()) + u' ' + TimeText(dt.time());
    }
    case QMetaType::QTime:
      return TimeText(value.toTime());
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      const std::u16string wide = text::AnsiToWide(std::string_view(bytes.constData(), bytes.size()));
      return QString::fromUtf16(wide.data(), qsizetype(wide.size()));
    }
    case QMetaType::QString: {
      const QString s = value.toString();
      if (type == FieldType::Date) {
        const QDateTime dt = ParseDateTime(s);
        if (dt.isValid()) return DateText(dt.date());
      } else if (type == FieldType::DateTime) {
        const QDateTime dt = ParseDateTime(s);
        if (dt.isValid()) return DateText(dt.date()) + u' ' + TimeText(dt.time());
      } else if (type == FieldType::Time) {
        const QTime t = ParseTime(s);
        if (t.isValid()) return TimeText(t);
      }
      return s;
    }
    default:
      if (type == FieldType::Boolean && value.canConvert<qlonglong>())
        return value.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
      return value.toString();
  }
}

Conversion ValueFromText(const QString& text, FieldType type, bool textDates) {
  Conversion c;
  if (type == FieldType::Text) {
    c.value = text;
    return c;
  }
  if (type == FieldType::Blob) {
    const std::string bytes =
        text::WideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             size_t(text.size())));
    c.value = QByteArray(bytes.data(), qsizetype(bytes.size()));
    return c;
  }
  if (text.isEmpty()) return c;  // NULL
  switch (type) {
    case FieldType::Integer: {
      qlonglong n = 0;
      if (ParseInteger(text, &n)) c.value = n;
      else c.error = Quote(text) + QStringLiteral(" is not a valid integer value");
      break;
    }
    case FieldType::Real: {
      double d = 0;
      if (ParseReal(text, &d)) c.value = d;
      else c.error = Quote(text) + QStringLiteral(" is not a valid number");
      break;
    }
    case FieldType::Boolean: {
      const QString t = text.trimmed();
      if (t.compare(u"True", Qt::CaseInsensitive) == 0) c.value = true;
      else if (t.compare(u"False", Qt::CaseInsensitive) == 0) c.value = false;
      else c.error = Quote(text) + QStringLiteral(" is not a valid boolean value");
      break;
    }
    case FieldType::Date: {
      const QDate d = ParseDate(text.trimmed());
      if (!d.isValid()) c.error = Quote(text) + QStringLiteral(" is not a valid date");
      else if (textDates) c.value = d.toString(Qt::ISODate);
      else c.value = d;
      break;
    }
    case FieldType::DateTime: {
      const QDateTime dt = ParseDateTime(text.trimmed());
      if (!dt.isValid()) c.error = Quote(text) + QStringLiteral(" is not a valid date and time");
      else if (textDates) c.value = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
      else c.value = dt;
      break;
    }
    case FieldType::Time: {
      const QTime t = ParseTime(text.trimmed());
      if (!t.isValid()) c.error = Quote(text) + QStringLiteral(" is not a valid time");
      else if (textDates) c.value = t.toString(QStringLiteral("HH:mm:ss"));
      else c.value = t;
      break;
    }
    default:
      c.value = text;
      break;
  }
  return c;
}

}  // namespace vell::sql
