#include "library/sql/database_manager.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include "core/interpreter_state.h"
#include "library/connection_string.h"
#include "library/service_error.h"
#include "library/sql/field_text.h"
#include "platform/paths.h"

namespace vell::sql {

namespace {

// Half of a surrogate pair standing alone becomes U+FFFD: SQLite's own
// conversion would join it to whatever follows, eating a quote of a
// statement or a character of a value.
QString ToQString(std::u16string_view text) {
  QString out = QString::fromUtf16(text.data(), qsizetype(text.size()));
  const qsizetype n = out.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = out.at(i);
    if (c.isHighSurrogate() && i + 1 < n && out.at(i + 1).isLowSurrogate()) {
      ++i;
    } else if (c.isSurrogate()) {
      out[i] = QChar::ReplacementCharacter;
    }
  }
  return out;
}

std::u16string ToWide(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

// A Qt connection name no other connection of the process uses.
QString NewConnectionName() {
  static std::atomic<unsigned> counter{0};
  return QStringLiteral("vell-database-%1").arg(++counter);
}

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

}  // namespace

struct DatabaseManager::Connection {
  QString name;
  QSqlDatabase db;
  bool added = false;  // registered with Qt under name
  bool open = false;
  bool sqlite = false;
  QString password;

  // The layer's message, without the password.
  QString Message(const QSqlError& error) const {
    QString text = error.databaseText().trimmed();
    // SQLite's text for "no error" comes with a statement the driver itself
    // refused (several statements at once): the reason is the driver's.
    if (text.isEmpty() || text == QLatin1String("not an error")) {
      text = error.driverText().trimmed();
    }
    if (text.isEmpty()) text = QStringLiteral("The database reported an error");
    if (!password.isEmpty()) text.replace(password, QStringLiteral("****"));
    return text;
  }
  [[noreturn]] void Fail(const QString& what, const QSqlError& error) const {
    Throw(what.isEmpty() ? Message(error) : what + QStringLiteral(": ") + Message(error));
  }
  [[noreturn]] void Throw(const QString& message) const {
    QString text = message;
    if (!password.isEmpty()) text.replace(password, QStringLiteral("****"));
    throw ServiceError(ToWide(text));
  }
};

namespace {

struct Field {
  QString name;
  FieldType type = FieldType::Text;
  bool base = false;  // a column of the record set's table, so it can be written
};

}  // namespace

struct DatabaseManager::Recordset {
  Connection* connection = nullptr;
  bool active = false;
  QString table;  // the table rows are written to; empty when there is none
  std::vector<Field> fields;
  std::vector<int> keys;  // fields of the table's primary key, when all are present
  int autoKey = -1;       // the field of a one-column integer key
  std::vector<QVariant> cells;  // row after row
  int rows = 0;
  int current = 0;
  bool bof = true;
  bool eof = true;
  enum State { Browse, Edit, Insert } state = Browse;
  std::vector<QVariant> buffer;
  std::vector<char> assigned;
  // The INSERT last used, for the same set of columns.
  std::unique_ptr<QSqlQuery> insert;
  std::vector<char> insertShape;

  int Width() const { return int(fields.size()); }
  const QVariant& Cell(int row, int field) const { return cells[size_t(row) * fields.size() + field]; }
  QVariant& Cell(int row, int field) { return cells[size_t(row) * fields.size() + field]; }

  void RequireActive() const {
    if (!active) connection->Throw(QStringLiteral("The record set is not open"));
  }
  void RequireField(int field) const {
    if (field < 0 || field >= Width())
      connection->Throw(QStringLiteral("Field index %1 is out of range (the record set has %2 fields)")
                            .arg(field)
                            .arg(Width()));
  }
  QString Quoted(const QString& name, QSqlDriver::IdentifierType type) const {
    return connection->db.driver()->escapeIdentifier(name, type);
  }

  // WHERE that finds the current row by its key, else by all of its
  // original column values; the values are bound, never written into the text.
  QString Where(std::vector<QVariant>* binds) const {
    std::vector<int> locate = keys;
    if (locate.empty()) {
      for (int f = 0; f < Width(); ++f)
        if (fields[f].base) locate.push_back(f);
    }
    if (locate.empty()) connection->Throw(QStringLiteral("The record cannot be located in its table"));
    QString where;
    for (int f : locate) {
      if (!where.isEmpty()) where += QStringLiteral(" AND ");
      const QVariant& value = Cell(current, f);
      where += Quoted(fields[f].name, QSqlDriver::FieldName);
      if (value.isNull()) {
        where += QStringLiteral(" IS NULL");
      } else {
        where += QStringLiteral(" = ?");
        binds->push_back(value);
      }
    }
    return where;
  }

  // Runs "head WHERE <the current row>" (an UPDATE or DELETE with head's
  // values bound first); it must touch exactly one row, which a count
  // checks before anything is changed.
  void ChangeOneRow(const QString& head, const std::vector<QVariant>& headBinds, const QString& what) {
    std::vector<QVariant> whereBinds;
    const QString where = Where(&whereBinds);
    {
      QSqlQuery count(connection->db);
      if (!count.prepare(QStringLiteral("SELECT COUNT(*) FROM ") + Quoted(table, QSqlDriver::TableName) +
                         QStringLiteral(" WHERE ") + where))
        connection->Fail(what, count.lastError());
      for (const QVariant& v : whereBinds) count.addBindValue(v);
      if (!count.exec() || !count.next()) connection->Fail(what, count.lastError());
      const qlonglong found = count.value(0).toLongLong();
      if (found == 0)
        connection->Throw(what + QStringLiteral(": the record is no longer in table ") + table);
      if (found != 1)
        connection->Throw(what + QStringLiteral(": %1 rows of table %2 match the record, so nothing was changed")
                                     .arg(found)
                                     .arg(table));
    }
    QSqlQuery query(connection->db);
    if (!query.prepare(head + QStringLiteral(" WHERE ") + where)) connection->Fail(what, query.lastError());
    for (const QVariant& v : headBinds) query.addBindValue(v);
    for (const QVariant& v : whereBinds) query.addBindValue(v);
    if (!query.exec()) connection->Fail(what, query.lastError());
    const int affected = query.numRowsAffected();
    if (affected != 1 && affected != -1)
      connection->Throw(what + QStringLiteral(": %1 rows were affected instead of one").arg(affected));
  }

  void RequireWritable(int field) const {
    if (table.isEmpty())
      connection->Throw(QStringLiteral("The record set cannot be changed: its rows do not come from one table"));
    if (!fields[field].base)
      connection->Throw(QStringLiteral("Field %1 is not a column of table %2 and cannot be changed")
                            .arg(fields[field].name, table));
  }

  void PostEdit() {
    QString head;
    std::vector<QVariant> binds;
    for (int f = 0; f < Width(); ++f) {
      if (!assigned[f]) continue;
      head += head.isEmpty() ? QStringLiteral("UPDATE ") + Quoted(table, QSqlDriver::TableName) +
                                   QStringLiteral(" SET ")
                             : QStringLiteral(", ");
      head += Quoted(fields[f].name, QSqlDriver::FieldName) + QStringLiteral(" = ?");
      binds.push_back(buffer[f]);
    }
    if (!head.isEmpty()) {
      ChangeOneRow(head, binds, QStringLiteral("The change could not be posted"));
      for (int f = 0; f < Width(); ++f)
        if (assigned[f]) Cell(current, f) = buffer[f];
    }
    state = Browse;
  }

  void PostInsert() {
    if (table.isEmpty())
      connection->Throw(QStringLiteral("The record set cannot be changed: its rows do not come from one table"));
    const QString what = QStringLiteral("The new record could not be posted");
    if (!insert || insertShape != assigned) {
      insert.reset();
      QString columns;
      QString marks;
      for (int f = 0; f < Width(); ++f) {
        if (!assigned[f]) continue;
        if (!columns.isEmpty()) {
          columns += QStringLiteral(", ");
          marks += QStringLiteral(", ");
        }
        columns += Quoted(fields[f].name, QSqlDriver::FieldName);
        marks += u'?';
      }
      QString sql = QStringLiteral("INSERT INTO ") + Quoted(table, QSqlDriver::TableName);
      sql += columns.isEmpty() ? QStringLiteral(" DEFAULT VALUES")
                               : QStringLiteral(" (") + columns + QStringLiteral(") VALUES (") + marks + u')';
      auto query = std::make_unique<QSqlQuery>(connection->db);
      if (!query->prepare(sql)) connection->Fail(what, query->lastError());
      insert = std::move(query);
      insertShape = assigned;
    }
    int bind = 0;
    for (int f = 0; f < Width(); ++f)
      if (assigned[f]) insert->bindValue(bind++, buffer[f]);
    if (!insert->exec()) {
      const QSqlError error = insert->lastError();
      insert.reset();
      connection->Fail(what, error);
    }
    const int affected = insert->numRowsAffected();
    if (affected != 1 && affected != -1)
      connection->Throw(what + QStringLiteral(": %1 rows were affected instead of one").arg(affected));
    if (autoKey >= 0 && buffer[autoKey].isNull() &&
        connection->db.driver()->hasFeature(QSqlDriver::LastInsertId)) {
      const QVariant id = insert->lastInsertId();
      if (id.isValid()) buffer[autoKey] = id;
    }
    cells.insert(cells.end(), buffer.begin(), buffer.end());
    ++rows;
    current = rows - 1;
    bof = eof = false;
    state = Browse;
  }

  // A posted change is written at once. When it fails the record set goes
  // back to browsing the unchanged record, so that a loop that moves on
  // cannot be held by the same failing change forever.
  void Post() {
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

  void PostIfChanging() {
    if (state != Browse) Post();
  }

  void BeginInsert() {
    buffer.assign(fields.size(), QVariant());
    assigned.assign(fields.size(), 0);
    state = Insert;
  }

  void Load(QSqlQuery& query, const QString& sql) {
    const QSqlRecord record = query.record();
    fields.resize(size_t(record.count()));
    for (int f = 0; f < record.count(); ++f) {
      const QSqlField field = record.field(f);
      fields[f].name = field.name();
      fields[f].type = TypeFromMeta(field.metaType());
      if (table.isEmpty() && !field.tableName().isEmpty()) table = field.tableName();
    }
    const QString named = SingleTableOf(sql);
    if (table.isEmpty()) table = named;
    const int width = record.count();
    while (query.next()) {
      for (int f = 0; f < width; ++f) cells.push_back(query.value(f));
      ++rows;
    }
    if (query.lastError().isValid()) connection->Fail(QString(), query.lastError());
    query.finish();
    Describe(record);
    // The driver may report a quoted table name without its quote marks.
    if (table.isEmpty() && !named.isEmpty()) {
      table = named;
      Describe(record);
    }
    current = 0;
    bof = true;
    eof = rows == 0;
  }

  // Which fields are columns of the table, their declared types, and the key.
  void Describe(const QSqlRecord& record) {
    if (table.isEmpty()) return;
    keys.clear();
    autoKey = -1;
    // The name the driver reports for the table of a field, when it reports one.
    QString reported;
    for (int f = 0; f < record.count() && reported.isEmpty(); ++f) reported = record.field(f).tableName();
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
      const QString origin = record.field(f).tableName();
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
};

DatabaseManager::DatabaseManager() = default;

DatabaseManager::~DatabaseManager() { CloseAll(); }

DatabaseManager::Connection* DatabaseManager::FindConnection(int db) {
  if (db < 0 || db >= kConnectionSlots) return nullptr;
  return connections_[db].get();
}

DatabaseManager::Recordset* DatabaseManager::Find(int rs) {
  if (rs < 0 || rs >= kRecordsetSlots) return nullptr;
  return recordsets_[rs].get();
}

void DatabaseManager::ReleaseRecordset(int rs) noexcept { recordsets_[rs].reset(); }

void DatabaseManager::ReleaseConnection(int db) noexcept {
  Connection* connection = connections_[db].get();
  if (connection == nullptr) return;
  for (int rs = 0; rs < kRecordsetSlots; ++rs) {
    if (recordsets_[rs] && recordsets_[rs]->connection == connection) ReleaseRecordset(rs);
  }
  const QString name = connection->name;
  const bool added = connection->added;
  if (connection->db.isOpen()) connection->db.close();
  connections_[db].reset();  // lets go of the last handle first
  if (added) QSqlDatabase::removeDatabase(name);
}

void DatabaseManager::CloseAll() noexcept {
  for (int rs = 0; rs < kRecordsetSlots; ++rs) ReleaseRecordset(rs);
  for (int db = 0; db < kConnectionSlots; ++db) ReleaseConnection(db);
}

int DatabaseManager::OpenDb(std::u16string_view connectionString) {
  int slot = 0;
  while (slot < kConnectionSlots && connections_[slot]) ++slot;
  if (slot == kConnectionSlots) return -1;
  // The slot is taken from here on, whether the connection opens or not.
  connections_[slot] = std::make_unique<Connection>();
  Connection& connection = *connections_[slot];
  try {
    const DatabaseTarget target = ChooseDatabaseTarget(connectionString);
    connection.password = ToQString(target.password);
    QString driver;
    QString name;
    if (target.kind == DatabaseTarget::Sqlite) {
      driver = QStringLiteral("QSQLITE");
      if (target.sqliteSource == u":memory:") {
        name = QStringLiteral(":memory:");
      } else {
        const std::optional<std::string> path = paths::ResolveProgramPath(target.sqliteSource);
        if (!path || path->empty()) return -1;
        name = QFile::decodeName(QByteArray::fromStdString(*path));
      }
      connection.sqlite = true;
    } else if (target.kind == DatabaseTarget::Odbc) {
      driver = QStringLiteral("QODBC");
      // Qt's ODBC driver takes a string naming a driver as it is, and puts
      // "DSN=" before any other.
      name = target.odbcDsn.empty() ? ToQString(target.odbcString)
                                    : ToQString(target.odbcDsn) +
                                          (target.odbcRest.empty() ? QString()
                                                                   : u';' + ToQString(target.odbcRest));
    } else {
      return -1;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) return -1;
    connection.name = NewConnectionName();
    connection.db = QSqlDatabase::addDatabase(driver, connection.name);
    connection.added = true;
    if (!connection.db.isValid()) return -1;
    connection.db.setDatabaseName(name);
    if (!connection.db.open()) return -1;
    if (connection.sqlite) {
      // A file that is no database fails here rather than at its first use.
      QSqlQuery check(connection.db);
      if (!check.exec(QStringLiteral("PRAGMA schema_version"))) {
        check.finish();
        connection.db.close();
        return -1;
      }
    }
    connection.open = true;
    return slot;
  } catch (...) {
    return -1;
  }
}

int DatabaseManager::CloseDb(int db) {
  if (FindConnection(db) == nullptr) return -1;
  ReleaseConnection(db);
  return 1;
}

int DatabaseManager::OpenRecordset(int db, std::u16string_view sql) {
  Connection* connection = FindConnection(db);
  if (connection == nullptr) return -1;
  int slot = 0;
  while (slot < kRecordsetSlots && recordsets_[slot]) ++slot;
  if (slot == kRecordsetSlots) return -1;
  // The slot is taken from here on, whether the record set opens or not.
  recordsets_[slot] = std::make_unique<Recordset>();
  Recordset& rs = *recordsets_[slot];
  rs.connection = connection;
  try {
    if (!connection->open) return -1;
    const QString text = ToQString(sql);
    QSqlQuery query(connection->db);
    query.setForwardOnly(true);
    if (!query.exec(text) || !query.isSelect()) return -1;
    rs.Load(query, text);
    rs.active = true;
    return slot;
  } catch (...) {
    rs.cells.clear();
    rs.rows = 0;
    return -1;
  }
}

int DatabaseManager::CloseRecordset(int rs) {
  if (Find(rs) == nullptr) return -1;
  ReleaseRecordset(rs);
  return 1;
}

int DatabaseManager::GetRecordCount(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->rows;
}

int DatabaseManager::GetRecordEof(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->eof ? 1 : 0;
}

int DatabaseManager::GetRecordBof(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->bof ? 1 : 0;
}

int DatabaseManager::FirstRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->PostIfChanging();
  r->current = 0;
  r->bof = true;
  r->eof = r->rows == 0;
  return 0;
}

int DatabaseManager::LastRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->PostIfChanging();
  r->current = r->rows > 0 ? r->rows - 1 : 0;
  r->eof = true;
  r->bof = r->rows == 0;
  return 0;
}

int DatabaseManager::NextRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->PostIfChanging();
  if (r->eof) return 0;
  if (r->current + 1 < r->rows) {
    ++r->current;
    r->bof = false;
  } else {
    r->eof = true;
    r->bof = false;
  }
  return 0;
}

int DatabaseManager::PriorRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->PostIfChanging();
  if (r->bof) return 0;
  if (r->current > 0) {
    --r->current;
    r->eof = false;
  } else {
    r->bof = true;
    r->eof = false;
  }
  return 0;
}

int DatabaseManager::GetRecordNo(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  if (r->state == Recordset::Insert) return r->rows + 1;
  return r->rows == 0 ? 0 : r->current + 1;
}

int DatabaseManager::SetRecordNo(int rs, int recordNo) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  if (recordNo < 1 || recordNo > r->rows) return -1;
  r->PostIfChanging();
  r->current = recordNo - 1;
  r->bof = r->eof = false;
  return 0;
}

int DatabaseManager::AppendRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->PostIfChanging();
  r->BeginInsert();
  return 0;
}

int DatabaseManager::EditRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  if (r->state != Recordset::Browse) return 0;
  if (r->rows == 0) {
    r->BeginInsert();
    return 0;
  }
  const auto row = r->cells.begin() + ptrdiff_t(r->current) * r->Width();
  r->buffer.assign(row, row + r->Width());
  r->assigned.assign(r->fields.size(), 0);
  r->state = Recordset::Edit;
  return 0;
}

int DatabaseManager::PostRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->Post();
  return 0;
}

int DatabaseManager::DeleteRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  if (r->state == Recordset::Insert) {  // deleting a record not yet posted drops it
    r->state = Recordset::Browse;
    return 0;
  }
  r->state = Recordset::Browse;
  if (r->rows == 0) r->connection->Throw(QStringLiteral("The record set is empty"));
  if (r->table.isEmpty())
    r->connection->Throw(QStringLiteral("The record set cannot be changed: its rows do not come from one table"));
  r->ChangeOneRow(QStringLiteral("DELETE FROM ") + r->Quoted(r->table, QSqlDriver::TableName), {},
                  QStringLiteral("The record could not be deleted"));
  const auto row = r->cells.begin() + ptrdiff_t(r->current) * r->Width();
  r->cells.erase(row, row + r->Width());
  --r->rows;
  if (r->rows == 0) {
    r->current = 0;
    r->bof = r->eof = true;
  } else if (r->current >= r->rows) {
    // The last record went: the cursor stays on the new last one, past the end.
    r->current = r->rows - 1;
    r->bof = false;
    r->eof = true;
  } else {
    r->bof = r->eof = false;
  }
  return 0;
}

int DatabaseManager::GetFieldCount(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->Width();
}

std::u16string DatabaseManager::GetFieldData(int rs, int field) {
  Recordset* r = Find(rs);
  if (r == nullptr) return u"-1";
  r->RequireActive();
  r->RequireField(field);
  const Field& f = r->fields[field];
  if (r->state != Recordset::Browse) return ToWide(FieldText(r->buffer[field], f.type));
  if (r->rows == 0) return std::u16string();
  return ToWide(FieldText(r->Cell(r->current, field), f.type));
}

int DatabaseManager::SetFieldData(int rs, int field, std::u16string_view text) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->RequireField(field);
  if (r->state == Recordset::Browse)
    r->connection->Throw(QStringLiteral("The record set is not being edited or appended"));
  r->RequireWritable(field);
  const Conversion c = ValueFromText(ToQString(text), r->fields[field].type, r->connection->sqlite);
  if (!c.error.isEmpty()) r->connection->Throw(QStringLiteral("Field ") + r->fields[field].name + QStringLiteral(": ") + c.error);
  r->buffer[field] = c.value;
  r->assigned[field] = 1;
  return 0;
}

int DatabaseManager::CommandDb(int db, std::u16string_view sql) {
  Connection* connection = FindConnection(db);
  if (connection == nullptr) return -1;
  if (!connection->open) connection->Throw(QStringLiteral("The database is not connected"));
  QSqlQuery query(connection->db);
  if (!query.exec(ToQString(sql))) connection->Fail(QString(), query.lastError());
  return 1;
}

void InstallDatabaseManager(Interpreter& interp) {
  interp.database = std::make_unique<DatabaseManager>();
}

}  // namespace vell::sql
