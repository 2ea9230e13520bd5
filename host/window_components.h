// The main window's side of the component table: the table lives here, and
// reaches the window only through the narrow ComponentHost it is given. It
// is handed the parts of the window it serves, never the main window's class.
#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "components/widgets/component_host.h"
#include "components/widgets/component_table.h"
#include "host/component_table_hooks.h"
#include "host/output_area.h"

// What of the window the component table reaches: the main window and the
// output area's memo as components 0 and 1, the panel that holds the
// controls programs create, the output area's held-back output, and the
// window's way of running an event's text (which holds the window busy).
struct WindowParts {
  QWidget& mainWindow;
  QWidget& panel;
  QPlainTextEdit& memo;
  OutputArea& output;
  std::function<int(std::u16string_view text)> runEvent;
};

class WindowComponents final : public ComponentTableHooks, public vell::ComponentHost {
 public:
  explicit WindowComponents(WindowParts parts) : parts_(std::move(parts)), table_(*this) {}

  vell::mwin& Table() { return table_; }

  // ComponentTableHooks.
  void HandleHostRequest(vell::Interpreter& interp) override { table_.HandleHostRequest(interp); }
  void DestroyAllComponents() override { table_.DestroyAllComponents(); }
  void InstallDefaults(vell::Interpreter& interp) override { table_.InstallDefaults(interp); }
  bool StartComponents() override;
  void EndComponents() override;
  void RunEnded() override { table_.CarryOutPendingDeletions(); }

  // vell::ComponentHost.
  QWidget* MainWindowWidget() override { return &parts_.mainWindow; }
  QPlainTextEdit* OutputArea() override { return &parts_.memo; }
  QWidget* DefaultParent() override { return &parts_.panel; }
  void FlushOutput() override { parts_.output.Flush(); }
  void PrintToOutputArea(std::u16string_view text) override { parts_.output.Append(text); }
  int RunEventText(std::u16string_view text) override { return parts_.runEvent(text); }
  void SetOutputAreaVisible(bool visible) override { parts_.memo.setVisible(visible); }

 private:
  WindowParts parts_;
  vell::mwin table_;
};
