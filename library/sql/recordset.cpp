// A record set's rows, cursor and editing state. The rows are held on the
// client side, as a client cursor holds them; a move follows the data set's
// rules for BOF and EOF, and a posted change is written at once.
#include <algorithm>
#include <utility>

#include <QHash>
#include <QSqlField>
#include <QSqlIndex>
#include <QStringList>

#include "library/sql/recordset.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::sql {

namespace {

// The first name after FROM, when the statement reads from one table only.
QString SingleTableOf(const QString& sql) {
  const QString upper = sql.toUpper();
  qsizetype from = -1;
  for (qsizetype i = upper.indexOf(u"FROM"); i >= 0; i = upper.indexOf(u"FROM", i + 1)) {
    const bool before = i == 0 || !(upper[i - 1].isLetterOrNumber() || upper[i - 1] == u'_');
    const bool after = i + 4 >= upper.size() || upper[i + 4].isSpace();
    if (before && after) {
      from = i + 4;
      break;
    }
  }
  if (from < 0) return {};
  qsizetype i = from;
  while (i < sql.size() && sql[i].isSpace()) ++i;
  QString name;
  if (i < sql.size() && (sql[i] == u'"' || sql[i] == u'[' || sql[i] == u'`')) {
    const QChar close = sql[i] == u'[' ? u']' : sql[i];
    const qsizetype end = sql.indexOf(close, i + 1);
    if (end < 0) return {};
    name = sql.mid(i + 1, end - i - 1);
    i = end + 1;
  } else {
    while (i < sql.size() && (sql[i].isLetterOrNumber() || sql[i] == u'_')) name += sql[i++];
  }
  while (i < sql.size() && sql[i].isSpace()) ++i;
  if (i < sql.size() && sql[i] == u',') return {};
  if (upper.indexOf(u" JOIN ", i) >= 0) return {};
  return name;
}

// The table a driver reports for a field, cut at the first character no
// table name holds: an ODBC driver may follow the name with a NUL and stray
// bytes.
QString ReportedTable(const QSqlField& field) {
  QString name = field.tableName();
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (!name[i].isPrint()) {
      name.truncate(i);
      break;
    }
  }
  return name;
}

// The table the driver reports for the first field it reports one for.
QString FirstReportedTable(const QSqlRecord& record) {
  QString reported;
  for (int f = 0; f < record.count() && reported.isEmpty(); ++f)
    reported = ReportedTable(record.field(f));
  return reported;
}

}  // namespace

void DatabaseManager::Recordset::RequireActive() const {
  if (!active) connection->Throw(QStringLiteral("The record set is not open"));
}

void DatabaseManager::Recordset::RequireField(int field) const {
  if (field < 0 || field >= Width())
    connection->Throw(QStringLiteral("Field index %1 is out of range (the record set has %2 fields)")
                          .arg(field)
                          .arg(Width()));
}

void DatabaseManager::Recordset::RequireWritable(int field) const {
  if (table.isEmpty())
    connection->Throw(QStringLiteral("The record set cannot be changed: its rows do not come from one table"));
  if (!fields[field].base)
    connection->Throw(QStringLiteral("Field %1 is not a column of table %2 and cannot be changed")
                          .arg(fields[field].name, table));
}

// A posted change is written at once. When it fails the record set goes
// back to browsing the unchanged record, so that a loop that moves on
// cannot be held by the same failing change forever.
void DatabaseManager::Recordset::Post() {
  RequireActive();
  if (state == Browse)
    connection->Throw(QStringLiteral("The record set is not being edited or appended"));
  try {
    if (state == Edit) PostEdit();
    else PostInsert();
  } catch (...) {
    state = Browse;
    throw;
  }
}

bool DatabaseManager::Recordset::Modified() const {
  return std::find(assigned.begin(), assigned.end(), 1) != assigned.end();
}

// A record nothing was written into is dropped rather than posted, so that
// moving off a new record never adds a row of defaults.
void DatabaseManager::Recordset::LeaveEditing() {
  if (state == Browse) return;
  if (Modified()) Post();
  else state = Browse;
}

void DatabaseManager::Recordset::BeginInsert() {
  buffer.assign(fields.size(), QVariant());
  assigned.assign(fields.size(), 0);
  state = Insert;
}

void DatabaseManager::Recordset::BeginEdit() {
  if (state != Browse) return;
  if (rows == 0) {  // editing an empty record set appends
    BeginInsert();
    return;
  }
  const auto row = cells.begin() + ptrdiff_t(current) * Width();
  buffer.assign(row, row + Width());
  assigned.assign(fields.size(), 0);
  state = Edit;
}

void DatabaseManager::Recordset::MoveFirst() {
  LeaveEditing();
  current = 0;
  bof = true;
  eof = rows == 0;
}

void DatabaseManager::Recordset::MoveLast() {
  LeaveEditing();
  current = rows > 0 ? rows - 1 : 0;
  eof = true;
  bof = rows == 0;
}

void DatabaseManager::Recordset::MoveNext() {
  LeaveEditing();
  if (eof) return;
  if (current + 1 < rows) {
    ++current;
    bof = false;
  } else {
    eof = true;
    bof = false;
  }
}

void DatabaseManager::Recordset::MovePrior() {
  LeaveEditing();
  if (bof) return;
  if (current > 0) {
    --current;
    eof = false;
  } else {
    bof = true;
    eof = false;
  }
}

int DatabaseManager::Recordset::RecordNo() const {
  if (state == Insert) return rows + 1;
  return rows == 0 ? 0 : current + 1;
}

bool DatabaseManager::Recordset::MoveTo(int recordNo) {
  if (recordNo < 1 || recordNo > rows) return false;
  LeaveEditing();
  current = recordNo - 1;
  bof = eof = false;
  return true;
}

void DatabaseManager::Recordset::Delete() {
  if (state == Insert) {  // deleting a record not yet posted drops it
    state = Browse;
    return;
  }
  state = Browse;
  if (rows == 0) connection->Throw(QStringLiteral("The record set is empty"));
  DeleteCurrentRow();
  const auto row = cells.begin() + ptrdiff_t(current) * Width();
  cells.erase(row, row + Width());
  --rows;
  if (rows == 0) {
    current = 0;
    bof = eof = true;
  } else if (current >= rows) {
    // The last record went: the cursor stays on the new last one, past the end.
    current = rows - 1;
    bof = false;
    eof = true;
  } else {
    bof = eof = false;
  }
}

QString DatabaseManager::Recordset::FieldValueText(int field) const {
  const FieldType type = fields[field].type;
  if (state != Browse) return FieldText(buffer[field], type);
  if (rows == 0) return QString();
  return FieldText(Cell(current, field), type);
}

void DatabaseManager::Recordset::SetFieldValue(int field, std::u16string_view text) {
  if (state == Browse) connection->Throw(QStringLiteral("The record set is not being edited or appended"));
  RequireWritable(field);
  const Conversion c = ValueFromText(ToQString(text), fields[field].type, connection->sqlite);
  if (!c.error.isEmpty()) connection->Throw(QStringLiteral("Field ") + fields[field].name + QStringLiteral(": ") + c.error);
  buffer[field] = c.value;
  assigned[field] = 1;
}

void DatabaseManager::Recordset::Load(QSqlQuery& query, const QString& sql) {
  const QSqlRecord record = query.record();
  fields.resize(size_t(record.count()));
  for (int f = 0; f < record.count(); ++f) {
    const QSqlField field = record.field(f);
    fields[f].name = field.name();
    fields[f].type = TypeFromMeta(field.metaType());
  }
  // The table the statement names, else the one the driver reports.
  const QString named = SingleTableOf(sql);
  const QString reported = FirstReportedTable(record);
  table = named.isEmpty() ? reported : named;
  const int width = record.count();
  while (query.next()) {
    for (int f = 0; f < width; ++f) cells.push_back(query.value(f));
    ++rows;
  }
  if (query.lastError().isValid()) connection->Fail(QString(), query.lastError());
  query.finish();
  Describe(record);
  // The statement's first name may be no table (a schema before a period).
  if (table.isEmpty() && !named.isEmpty() && !reported.isEmpty()) {
    table = reported;
    Describe(record);
  }
  current = 0;
  bof = true;
  eof = rows == 0;
}

// Which fields are columns of the table, their declared types, and the key.
void DatabaseManager::Recordset::Describe(const QSqlRecord& record) {
  if (table.isEmpty()) return;
  keys.clear();
  autoKey = -1;
  // The name the driver reports for the table of a field, when it reports one.
  const QString reported = FirstReportedTable(record);
  // Lower-cased column name -> declared type, and the key's columns in order.
  QHash<QString, QString> columns;
  QStringList keyColumns;
  if (connection->sqlite) {
    QSqlQuery info(connection->db);
    std::vector<std::pair<int, QString>> key;
    if (info.exec(QStringLiteral("PRAGMA table_info(") + Quoted(table, QSqlDriver::TableName) + u')')) {
      while (info.next()) {
        const QString name = info.value(1).toString();
        columns.insert(name.toLower(), info.value(2).toString());
        if (info.value(5).toInt() > 0) key.emplace_back(info.value(5).toInt(), name);
      }
    }
    std::sort(key.begin(), key.end());
    for (const auto& k : key) keyColumns << k.second;
  } else {
    const QSqlRecord found = connection->db.record(table);
    for (int c = 0; c < found.count(); ++c) columns.insert(found.fieldName(c).toLower(), QString());
    const QSqlIndex key = connection->db.primaryIndex(table);
    for (int k = 0; k < key.count(); ++k) keyColumns << key.fieldName(k);
  }
  if (columns.isEmpty()) {
    table.clear();
    return;
  }
  for (int f = 0; f < Width(); ++f) {
    const QString origin = ReportedTable(record.field(f));
    // Where the driver names the tables of fields, a field without one is
    // an expression, even when it is called like a column.
    const bool fromTable = origin.isEmpty() ? reported.isEmpty()
                                            : origin.compare(table, Qt::CaseInsensitive) == 0 ||
                                                  origin.compare(reported, Qt::CaseInsensitive) == 0;
    const auto it = columns.constFind(fields[f].name.toLower());
    fields[f].base = it != columns.constEnd() && fromTable;
    if (fields[f].base && connection->sqlite) fields[f].type = TypeFromDeclaration(*it);
  }
  for (const QString& column : keyColumns) {
    int found = -1;
    for (int f = 0; f < Width(); ++f)
      if (fields[f].base && fields[f].name.compare(column, Qt::CaseInsensitive) == 0) found = f;
    if (found < 0) {
      keys.clear();
      return;
    }
    keys.push_back(found);
  }
  if (keys.size() == 1 && fields[keys[0]].type == FieldType::Integer) autoKey = keys[0];
}

}  // namespace vell::sql
