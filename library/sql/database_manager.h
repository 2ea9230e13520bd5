// The database manager over Qt SQL: ten connection slots and twenty
// record-set slots. Record sets hold their rows on the client side, as a
// client cursor does, and write a posted change at once with a statement of
// bound values that must touch exactly one row.
#pragma once

#include <array>
#include <memory>

#include "core/database_bridge.h"

namespace vell {
struct Interpreter;
}

namespace vell::sql {

constexpr int kConnectionSlots = 10;
constexpr int kRecordsetSlots = 20;

class DatabaseManager final : public DatabaseBridge {
 public:
  DatabaseManager();
  ~DatabaseManager() override;
  DatabaseManager(const DatabaseManager&) = delete;
  DatabaseManager& operator=(const DatabaseManager&) = delete;

  int OpenDb(std::u16string_view connectionString) override;
  int CloseDb(int db) override;
  int OpenRecordset(int db, std::u16string_view sql) override;
  int CloseRecordset(int rs) override;
  int GetRecordCount(int rs) override;
  int GetRecordEof(int rs) override;
  int GetRecordBof(int rs) override;
  int FirstRecord(int rs) override;
  int LastRecord(int rs) override;
  int NextRecord(int rs) override;
  int PriorRecord(int rs) override;
  int GetRecordNo(int rs) override;
  int SetRecordNo(int rs, int recordNo) override;
  int AppendRecord(int rs) override;
  int EditRecord(int rs) override;
  int PostRecord(int rs) override;
  int DeleteRecord(int rs) override;
  int GetFieldCount(int rs) override;
  std::u16string GetFieldData(int rs, int field) override;
  int SetFieldData(int rs, int field, std::u16string_view text) override;
  int CommandDb(int db, std::u16string_view sql) override;
  void CloseAll() noexcept override;

  struct Connection;
  struct Recordset;

 private:
  Recordset* Find(int rs);
  Connection* FindConnection(int db);
  void ReleaseRecordset(int rs) noexcept;
  void ReleaseConnection(int db) noexcept;

  std::array<std::unique_ptr<Connection>, kConnectionSlots> connections_;
  std::array<std::unique_ptr<Recordset>, kRecordsetSlots> recordsets_;
};

// Gives the interpreter a database manager of its own.
void InstallDatabaseManager(Interpreter& interp);

}  // namespace vell::sql
