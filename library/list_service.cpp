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

// The list last read, split, with its text: the text holds a share of the
// block, so while it is kept nothing can change or free that block.
struct KeptList {
  vellvar text;
  StringList list;
};

// The list in slot 2, split into items, for an operation that only reads
// it: the kept one when slot 2 holds the very text it was split from (the
// same block), so that reading a long list item by item does not split it
// again for every item. Not kept in the reference mode.
const StringList& ListToRead(Interpreter& interp) {
  static KeptList kept;
  vellvar& text = RequestSlots(interp)[2].item;
  text.WideText();
  if (ReferenceMode() || text.IsInline()) {
    kept.text = 0;
    kept.list.SetText(text.WideView());
    return kept.list;
  }
  if (kept.text.IsInline() || kept.text.Bytes() != text.Bytes()) {
    kept.list.SetText(text.WideView());
    kept.text = text;
  }
  return kept.list;
}

void SetListResult(Interpreter& interp, const StringList& list) {
  const std::u16string text = list.Text();
  SetResult(interp, vellvar(std::u16string_view(text)));
}

}  // namespace

void StringListService(Interpreter& interp, int32_t service) {
  switch (service) {
    case ServiceCountList:
      SetResult(interp, vellvar(ListToRead(interp).Count()));
      return;
    case ServiceGetList: {
      const std::u16string& item = ListToRead(interp).Get(SlotInt(interp, 3));
      SetResult(interp, vellvar(std::u16string_view(item)));
      return;
    }
    case ServiceFindList:
      SetResult(interp, vellvar(ListToRead(interp).Find(SlotText(interp, 3))));
      return;
    case ServiceGetKeyList: {
      const std::u16string value = ListToRead(interp).Value(SlotText(interp, 3));
      SetResult(interp, vellvar(std::u16string_view(value)));
      return;
    }
    default:
      break;
  }
  StringList list(SlotText(interp, 2));
  switch (service) {
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
