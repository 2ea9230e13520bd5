// A component table offscreen, as the GUI tests and benchmarks drive it: a
// stand-in for the main window around the table (a main widget holding the
// panel for the controls and the output area), the table made ready and
// released as the window does it, and a program's global read back.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>
#include <string_view>

#include "components/keywords/component_keywords.h"
#include "components/widgets/component_table.h"
#include "core/interpreter.h"
#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "platform/qt/memo_edit.h"

namespace vell::test {

class StandInWindow : public ComponentHost {
 public:
  StandInWindow() : panel(new QWidget(&main)), output(new MemoEdit(&main)) {}
  // A main widget `width` by `height` with the panel over its top
  // `panelHeight` pixels.
  StandInWindow(int width, int height, int panelHeight) : StandInWindow() {
    main.resize(width, height);
    panel->setGeometry(0, 0, width, panelHeight);
  }
  QWidget* MainWindowWidget() override { return &main; }
  QPlainTextEdit* OutputArea() override { return output; }
  QWidget* DefaultParent() override { return panel; }
  void FlushOutput() override {}
  int RunEventText(std::u16string_view text) override {
    return vell::RunEventText(*gInterpreter, text);
  }
  void SetOutputAreaVisible(bool visible) override { output->setVisible(visible); }

  QWidget main;
  QWidget* panel;
  MemoEdit* output;  // a text box, as the window's is
};

// Registers the keywords, makes the table's entry objects, empties the
// program slots and installs the predefined components with the start-up
// header. Component requests must already reach the table.
inline void PrepareComponentTable(mwin& table, Interpreter& interp) {
  RegisterLibraryBuiltins(interp);
  RegisterComponentKeywords(interp);
  table.CreateEntryObjects();
  table.ResetProgramSlots();
  table.InstallDefaults(interp);
}

// Deletes every component and finishes the deletions left pending.
inline void ReleaseComponentTable(mwin& table) {
  table.DestroyAllComponents();
  table.CarryOutPendingDeletions();
}

// The global variable `name`; nullptr when the program has none.
inline vellarray* FindGlobal(Interpreter& interp, std::u16string_view name) {
  for (int i = 0; i < kTableEntries && interp.globals[i].kind != NodeFree; ++i) {
    vellvar key(interp.globals[i].key);
    if (std::u16string_view(key.WideText()) == name) return &interp.globals[i];
  }
  return nullptr;
}

}  // namespace vell::test
