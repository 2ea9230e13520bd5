// The database manager as the interpreter holds it: ten connection slots and
// twenty record-set slots behind the database service. The library's Qt SQL
// manager implements it; the interpreter owns the one installed and closes
// everything through it on NEW and when it is destroyed.
#pragma once

#include <string>
#include <string_view>

namespace vell {

class DatabaseBridge {
 public:
  virtual ~DatabaseBridge() = default;

  // Numbers out of range or naming a free slot give -1 (the text "-1" for
  // GetFieldData). A failure of the data layer throws vell::ServiceError
  // (library/service_error.h) with a message that never holds a password.
  virtual int OpenDb(std::u16string_view connectionString) = 0;  // 0-9 or -1, never throws
  virtual int CloseDb(int db) = 0;                               // 1 or -1
  virtual int OpenRecordset(int db, std::u16string_view sql) = 0;  // 0-19 or -1, never throws
  virtual int CloseRecordset(int rs) = 0;                          // 1 or -1
  virtual int GetRecordCount(int rs) = 0;
  virtual int GetRecordEof(int rs) = 0;
  virtual int GetRecordBof(int rs) = 0;
  virtual int FirstRecord(int rs) = 0;
  virtual int LastRecord(int rs) = 0;
  virtual int NextRecord(int rs) = 0;
  virtual int PriorRecord(int rs) = 0;
  virtual int GetRecordNo(int rs) = 0;
  virtual int SetRecordNo(int rs, int recordNo) = 0;
  virtual int AppendRecord(int rs) = 0;
  virtual int EditRecord(int rs) = 0;
  virtual int PostRecord(int rs) = 0;
  virtual int DeleteRecord(int rs) = 0;
  virtual int GetFieldCount(int rs) = 0;
  virtual std::u16string GetFieldData(int rs, int field) = 0;
  virtual int SetFieldData(int rs, int field, std::u16string_view text) = 0;
  virtual int CommandDb(int db, std::u16string_view sql) = 0;  // 1 or -1

  // Closes every record set, then every connection; an unposted edit is
  // dropped, every posted change is already in the database. Never throws.
  virtual void CloseAll() noexcept = 0;
};

}  // namespace vell
