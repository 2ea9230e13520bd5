// Field values as programs see them: text in, text out, by the field's type.
#pragma once

#include <QString>
#include <QVariant>

namespace vell::sql {

enum class FieldType { Text, Integer, Real, Boolean, Date, DateTime, Time, Blob };

// The type of a column from its declared SQL type (SQLite's rules of
// affinity, with the date and time names kept apart).
FieldType TypeFromDeclaration(const QString& declared);
// The type of a column from the type the driver reports.
FieldType TypeFromMeta(QMetaType type);

// The value as text: NULL as "", integers in decimal, reals with 15
// significant digits, dates yyyy/MM/dd, date-times yyyy/MM/dd H:mm:ss,
// times H:mm:ss, booleans True or False. A date or time kept as text (as
// SQLite keeps them) is shown in the same form when it reads as one.
QString FieldText(const QVariant& value, FieldType type);

// The value a text gives for a field of the type, or an error message. The
// empty text is NULL for every type but text. textDates: dates and times are
// stored as ISO text (SQLite), else as date and time values.
struct Conversion {
  QVariant value;
  QString error;  // empty when the text fits the type
};
Conversion ValueFromText(const QString& text, FieldType type, bool textDates);

}  // namespace vell::sql
