#include "host/window_components.h"

void WindowComponents::InstallDefaults(TFormMain& form, vell::Interpreter& interp) {
  TFormMain::BusyScope busy(form);
  table_.InstallDefaults(interp);
}

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
