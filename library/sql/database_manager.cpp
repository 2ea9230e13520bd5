// The database manager's tables: ten connection slots and twenty record-set
// slots, the opening and closing of both, and the commands run on a
// connection. What a record set does is in recordset.cpp and record_post.cpp.
#include "library/sql/database_manager.h"

#include <atomic>
#include <optional>
#include <string>

#include <QFile>

#include "core/interpreter_state.h"
#include "library/connection_string.h"
#include "library/service_error.h"
#include "library/sql/recordset.h"
#include "platform/paths.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::sql {

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

namespace {

// A Qt connection name no other connection of the process uses.
QString NewConnectionName() {
  static std::atomic<unsigned> counter{0};
  return QStringLiteral("vell-database-%1").arg(++counter);
}

}  // namespace

QString DatabaseManager::Connection::Message(const QSqlError& error) const {
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

void DatabaseManager::Connection::Fail(const QString& what, const QSqlError& error) const {
  Throw(what.isEmpty() ? Message(error) : what + QStringLiteral(": ") + Message(error));
}

void DatabaseManager::Connection::Throw(const QString& message) const {
  QString text = message;
  if (!password.isEmpty()) text.replace(password, QStringLiteral("****"));
  throw ServiceError(qt::ToU16String(text));
}

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
  r->MoveFirst();
  return 0;
}

int DatabaseManager::LastRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->MoveLast();
  return 0;
}

int DatabaseManager::NextRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->MoveNext();
  return 0;
}

int DatabaseManager::PriorRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->MovePrior();
  return 0;
}

int DatabaseManager::GetRecordNo(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->RecordNo();
}

int DatabaseManager::SetRecordNo(int rs, int recordNo) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  return r->MoveTo(recordNo) ? 0 : -1;
}

int DatabaseManager::AppendRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->LeaveEditing();
  r->BeginInsert();
  return 0;
}

int DatabaseManager::EditRecord(int rs) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->BeginEdit();
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
  r->Delete();
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
  return qt::ToU16String(r->FieldValueText(field));
}

int DatabaseManager::SetFieldData(int rs, int field, std::u16string_view text) {
  Recordset* r = Find(rs);
  if (r == nullptr) return -1;
  r->RequireActive();
  r->RequireField(field);
  r->SetFieldValue(field, text);
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
