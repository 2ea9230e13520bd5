// The string-list service: each request loads the list text from slot 2 into
// a fresh list, performs one operation and writes the result into slot 1.
#include <string>
#include <vector>

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
// block, so while it is kept nothing can change or free that block. Items
// read by index are kept as values too (made on their first read), so that
// reading one again shares its text instead of copying it.
struct KeptList {
  vellvar text;
  StringList list;
  std::vector<vellvar> values;  // empty, or one per item: a number until made
};

KeptList& Kept() {
  static KeptList kept;
  return kept;
}

// The list in slot 2, split into items, for an operation that only reads
// it: the kept one when slot 2 holds the very text it was split from (the
// same block), so that reading a long list item by item does not split it
// again for every item. Not kept in the reference mode.
const StringList& ListToRead(Interpreter& interp) {
  KeptList& kept = Kept();
  vellvar& text = RequestSlots(interp)[2].item;
  text.WideText();
  if (ReferenceMode() || text.IsInline()) {
    kept.text = 0;
    kept.values.clear();
    kept.list.SetText(text.WideView());
    return kept.list;
  }
  if (kept.text.IsInline() || kept.text.Bytes() != text.Bytes()) {
    kept.values.clear();
    kept.list.SetText(text.WideView());
    kept.text = text;
  }
  return kept.list;
}

// GETLIST's answer: the item at the index in slot 3 of the list to read.
vellvar ItemToRead(Interpreter& interp) {
  const StringList& list = ListToRead(interp);
  const int32_t index = SlotInt(interp, 3);
  const std::u16string& item = list.Get(index);
  KeptList& kept = Kept();
  if (kept.text.IsInline()) return vellvar(std::u16string_view(item));  // not kept
  if (kept.values.empty()) kept.values.resize(size_t(list.Count()));
  vellvar& value = kept.values[size_t(index)];
  if (!value.IsString()) value = std::u16string_view(item);
  return value;
}

void SetListResult(Interpreter& interp, const StringList& list) {
  const std::u16string text = list.Text();
  SetResult(interp, vellvar(std::u16string_view(text)));
}

// A sorted list, its text just stored in slot 1, kept as the list last
// read: its items hold no line break or zero unit, so splitting that text
// again would give them back as they are. Reading the sorted list item by
// item then starts without a split. Not kept in the reference mode.
void KeepSorted(Interpreter& interp, StringList&& sorted) {
  const vellvar& text = RequestSlots(interp)[1].item;
  if (ReferenceMode() || text.IsInline() || text.kind != KindWide) return;
  KeptList& kept = Kept();
  kept.values.clear();
  kept.list = std::move(sorted);
  kept.text = text;
}

}  // namespace

void StringListService(Interpreter& interp, int32_t service) {
  switch (service) {
    case ServiceCountList:
      SetResult(interp, vellvar(ListToRead(interp).Count()));
      return;
    case ServiceGetList:
      SetResult(interp, ItemToRead(interp));
      return;
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
      KeepSorted(interp, std::move(list));
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
