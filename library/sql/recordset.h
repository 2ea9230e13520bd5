// What the database manager's units share: a connection slot's contents and
// a record set with its rows, cursor and editing state. The cursor and the
// editing state are in recordset.cpp, the statements that write a posted
// change in record_post.cpp, and the tables of slots in database_manager.cpp.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include "library/sql/database_manager.h"
#include "library/sql/field_text.h"

namespace vell::sql {

// Half of a surrogate pair standing alone becomes U+FFFD: SQLite's own
// conversion would join it to whatever follows, eating a quote of a
// statement or a character of a value.
QString ToQString(std::u16string_view text);

struct DatabaseManager::Connection {
  QString name;
  QSqlDatabase db;
  bool added = false;  // registered with Qt under name
  bool open = false;
  bool sqlite = false;
  QString password;

  // The layer's message, without the password.
  QString Message(const QSqlError& error) const;
  [[noreturn]] void Fail(const QString& what, const QSqlError& error) const;
  [[noreturn]] void Throw(const QString& message) const;
};

struct DatabaseManager::Recordset {
  struct Field {
    QString name;
    FieldType type = FieldType::Text;
    bool base = false;  // a column of the record set's table, so it can be written
  };
  enum State { Browse, Edit, Insert };

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
  State state = Browse;
  std::vector<QVariant> buffer;
  std::vector<char> assigned;
  // The INSERT last used, for the same set of columns.
  std::unique_ptr<QSqlQuery> insert;
  std::vector<char> insertShape;

  int Width() const { return int(fields.size()); }
  const QVariant& Cell(int row, int field) const { return cells[size_t(row) * fields.size() + field]; }
  QVariant& Cell(int row, int field) { return cells[size_t(row) * fields.size() + field]; }

  // recordset.cpp: reading the rows, the cursor and the editing state.
  void Load(QSqlQuery& query, const QString& sql);
  void Describe(const QSqlRecord& record);
  void RequireActive() const;
  void RequireField(int field) const;
  void RequireWritable(int field) const;
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrior();
  int RecordNo() const;
  bool MoveTo(int recordNo);
  void BeginInsert();
  void BeginEdit();
  void Post();
  // Whether a field of the record being edited or appended was written.
  bool Modified() const;
  // Before a move or a new record: a changed record is posted, an untouched
  // one is dropped.
  void LeaveEditing();
  void Delete();
  QString FieldValueText(int field) const;
  void SetFieldValue(int field, std::u16string_view text);

  // record_post.cpp: the statements that write a change.
  QString Quoted(const QString& name, QSqlDriver::IdentifierType type) const;
  QString Where(std::vector<QVariant>* binds) const;
  void ChangeOneRow(const QString& head, const std::vector<QVariant>& headBinds, const QString& what);
  void PostEdit();
  void PostInsert();
  void DeleteCurrentRow();
};

}  // namespace vell::sql
