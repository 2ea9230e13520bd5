// The statements that write a record set's change to its table: the UPDATE
// of an edited record, the INSERT of a new one and the DELETE of the current
// one. Values are always bound, never written into the statement's text, and
// an UPDATE or DELETE must find exactly one row.
#include <memory>

#include "library/sql/recordset.h"

namespace vell::sql {

QString DatabaseManager::Recordset::Quoted(const QString& name, QSqlDriver::IdentifierType type) const {
  return connection->db.driver()->escapeIdentifier(name, type);
}

// WHERE that finds the current row by its key, else by all of its
// original column values; the values are bound, never written into the text.
QString DatabaseManager::Recordset::Where(std::vector<QVariant>* binds) const {
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
void DatabaseManager::Recordset::ChangeOneRow(const QString& head, const std::vector<QVariant>& headBinds,
                                              const QString& what) {
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

void DatabaseManager::Recordset::PostEdit() {
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

void DatabaseManager::Recordset::PostInsert() {
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

void DatabaseManager::Recordset::DeleteCurrentRow() {
  if (table.isEmpty())
    connection->Throw(QStringLiteral("The record set cannot be changed: its rows do not come from one table"));
  ChangeOneRow(QStringLiteral("DELETE FROM ") + Quoted(table, QSqlDriver::TableName), {},
               QStringLiteral("The record could not be deleted"));
}

}  // namespace vell::sql
