// The string-list service: each request loads the list text from slot 2 into
// a fresh list, performs one operation and writes the result into slot 1.
#include <string>

#include "core/interpreter.h"
#include "library/services.h"
#include "library/string_list.h"

namespace vell {
namespace {

std::u16string_view SlotText(Interpreter& interp, int slot) {
  return RequestSlots(interp)[slot].ItemWideText();
}

int32_t SlotInt(Interpreter& interp, int slot) { return RequestSlots(interp)[slot].ItemInt(); }

void SetResult(Interpreter& interp, const vellvar& value) {
  RequestSlots(interp)[1].SetItem(value);
}

void SetListResult(Interpreter& interp, const StringList& list) {
  const std::u16string text = list.Text();
  SetResult(interp, vellvar(std::u16string_view(text)));
}

}  // namespace

void StringListService(Interpreter& interp, int32_t service) {
  StringList list(SlotText(interp, 2));
  switch (service) {
    case ServiceCountList:
      SetResult(interp, vellvar(list.Count()));
      break;
    case ServiceGetList: {
      const std::u16string item = list.Get(SlotInt(interp, 3));
      SetResult(interp, vellvar(std::u16string_view(item)));
      break;
    }
    case ServiceSetList: {
      const int32_t i = SlotInt(interp, 3);
      list.Set(i, SlotText(interp, 4));
      SetListResult(interp, list);
      break;
    }
    case ServiceAddList:
      list.Append(SlotText(interp, 3));
      SetListResult(interp, list);
      break;
    case ServiceInsertList: {
      const int32_t i = SlotInt(interp, 3);
      list.Insert(i, SlotText(interp, 4));
      SetListResult(interp, list);
      break;
    }
    case ServiceExchangeList: {
      const int32_t i = SlotInt(interp, 3);
      const int32_t j = SlotInt(interp, 4);
      list.Exchange(i, j);
      SetListResult(interp, list);
      break;
    }
    case ServiceDeleteList:
      list.Delete(SlotInt(interp, 3));
      SetListResult(interp, list);
      break;
    case ServiceSortList:
      list.Sort();
      SetListResult(interp, list);
      break;
    case ServiceFindList:
      SetResult(interp, vellvar(list.Find(SlotText(interp, 3))));
      break;
    case ServiceGetKeyList: {
      const std::u16string value = list.Value(SlotText(interp, 3));
      SetResult(interp, vellvar(std::u16string_view(value)));
      break;
    }
    case ServiceSetKeyList: {
      const std::u16string name(SlotText(interp, 3));
      list.SetValue(name, SlotText(interp, 4));
      SetListResult(interp, list);
      break;
    }
    default:
      break;  // not a list operation: slot 1 keeps the number
  }
}

}  // namespace vell
