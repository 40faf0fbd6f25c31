#include "skin/data/SkinBroadcast.h"

namespace skin {

namespace {
// One per process: the application's form list is a process-wide fact, and
// everything runs on the GUI thread.
SkinFormList* CurrentFormList = nullptr;
}  // namespace

SkinFormList* SetSkinFormList(SkinFormList* list) {
  SkinFormList* previous = CurrentFormList;
  CurrentFormList = list;
  return previous;
}

SkinFormList* GetSkinFormList() { return CurrentFormList; }

}  // namespace skin
