// The main window's side of the component table: the table lives here, and
// reaches the window only through the narrow ComponentHost it is given.
#pragma once

#include "components/widgets/component_host.h"
#include "components/widgets/component_table.h"
#include "host/form_main.h"

class WindowComponents final : public ComponentTableHooks, public vell::ComponentHost {
 public:
  explicit WindowComponents(TFormMain& form) : form_(form), table_(*this) {}

  vell::mwin& Table() { return table_; }

  // ComponentTableHooks.
  void HandleHostRequest(vell::Interpreter& interp) override { table_.HandleHostRequest(interp); }
  void DestroyAllComponents() override { table_.DestroyAllComponents(); }
  void InstallDefaults(TFormMain& form, vell::Interpreter& interp) override;
  bool StartComponents() override;
  void EndComponents() override;
  void RunEnded() override { table_.CarryOutPendingDeletions(); }

  // vell::ComponentHost.
  QWidget* MainWindowWidget() override { return &form_; }
  QPlainTextEdit* OutputArea() override { return form_.MemoOut; }
  QWidget* DefaultParent() override { return form_.PanelOut; }
  void FlushOutput() override { form_.FlushOutput(); }
  void PrintToOutputArea(std::u16string_view text) override { form_.AppendOutput(text); }
  int RunEventText(std::u16string_view text) override { return form_.RunEvent(text); }
  void SetOutputAreaVisible(bool visible) override { form_.MemoOut->setVisible(visible); }

 private:
  TFormMain& form_;
  vell::mwin table_;
};
