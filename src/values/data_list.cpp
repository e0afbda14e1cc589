// The literal data list: numbers and texts a program reads one after the other.
// Reading past its end, or with no list, is error 20.

#include "quorvia/frame.h"
#include "quorvia/rt_array.h"
#include "quorvia/values.h"

namespace qrv {
namespace {

struct DataList {
  const DataItem* items = nullptr;
  int32_t count = 0;
  int32_t next = 0;
};

DataList& TheDataList() {
  static DataList list;
  return list;
}

const DataItem& NextItem() {
  DataList& list = TheDataList();
  if (list.items == nullptr || list.next < 0 || list.next >= list.count) ErrorStop(20);
  return list.items[list.next++];
}

}  // namespace

void SetDataList(const DataItem* items, int32_t count) noexcept {
  TheDataList() = DataList{items, count, 0};
}

double ReadDataNumber() {
  const DataItem& item = NextItem();
  return item.text != nullptr ? TextToNumber(item.text) : item.value;
}

int32_t ReadDataInteger() {
  const DataItem& item = NextItem();
  return item.text != nullptr ? TextToInteger(item.text) : TruncateToInteger(item.value);
}

RtString ReadDataString() {
  const DataItem& item = NextItem();
  return item.text != nullptr ? RtString(item.text) : NumberText(item.value);
}

}  // namespace qrv
