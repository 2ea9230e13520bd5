#include "host/window_components.h"

bool WindowComponents::StartComponents() {
  if (!table_.CreateEntryObjects()) return false;
  table_.ResetProgramSlots();
  return true;
}

void WindowComponents::EndComponents() {
  table_.DestroyAllComponents();
  table_.CarryOutPendingDeletions();
  table_.DeleteEntryObjects();
}
