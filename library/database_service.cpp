// The database service (3001-3021): reads the request slots, asks the
// interpreter's database manager and stores the answer into slot 1. Without
// a manager, or for a number the service does not know, slot 1 keeps the
// number.
#include "core/interpreter_state.h"
#include "library/services.h"

namespace vell {

void DatabaseService(Interpreter& interp, int32_t service) {
  DatabaseBridge* db = interp.database.get();
  if (db == nullptr || service < ServiceDatabaseFirst || service > ServiceDatabaseLast) return;
  vellarray* slots = interp.requestSlots;
  const auto number = [&](int slot) { return static_cast<int>(slots[slot].ItemInt()); };
  const auto text = [&](int slot) -> std::u16string {
    const char16_t* t = slots[slot].ItemWideText();
    return t != nullptr ? std::u16string(t) : std::u16string();
  };

  if (service == ServiceGetFieldData) {
    const std::u16string value = db->GetFieldData(number(2), number(3));
    slots[1].SetItem(vellvar(std::u16string_view(value)));
    return;
  }
  int result = 0;
  switch (static_cast<ServiceNumber>(service)) {
    case ServiceOpenDb: result = db->OpenDb(text(2)); break;
    case ServiceCloseDb: result = db->CloseDb(number(2)); break;
    case ServiceOpenRecordset: result = db->OpenRecordset(number(2), text(3)); break;
    case ServiceCloseRecordset: result = db->CloseRecordset(number(2)); break;
    case ServiceGetRecordCount: result = db->GetRecordCount(number(2)); break;
    case ServiceGetRecordEof: result = db->GetRecordEof(number(2)); break;
    case ServiceGetRecordBof: result = db->GetRecordBof(number(2)); break;
    case ServiceFirstRecord: result = db->FirstRecord(number(2)); break;
    case ServiceLastRecord: result = db->LastRecord(number(2)); break;
    case ServiceNextRecord: result = db->NextRecord(number(2)); break;
    case ServicePriorRecord: result = db->PriorRecord(number(2)); break;
    case ServiceGetRecordNo: result = db->GetRecordNo(number(2)); break;
    case ServiceSetRecordNo: result = db->SetRecordNo(number(2), number(3)); break;
    case ServiceAppendRecord: result = db->AppendRecord(number(2)); break;
    case ServiceEditRecord: result = db->EditRecord(number(2)); break;
    case ServicePostRecord: result = db->PostRecord(number(2)); break;
    case ServiceDeleteRecord: result = db->DeleteRecord(number(2)); break;
    case ServiceGetFieldCount: result = db->GetFieldCount(number(2)); break;
    case ServiceSetFieldData: {
      const int rs = number(2);
      const int field = number(3);
      result = db->SetFieldData(rs, field, text(4));
      break;
    }
    case ServiceCommandDb: result = db->CommandDb(number(2), text(3)); break;
    default: return;
  }
  slots[1].SetItem(vellvar(result));
}

}  // namespace vell
