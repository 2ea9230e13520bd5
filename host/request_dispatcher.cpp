#include "host/request_dispatcher.h"

#include <QAction>
#include <QCoreApplication>
#include <QString>

#include "core/exec_context.h"
#include "host/output_area.h"
#include "host/program_dialogs.h"
#include "host/window_layout.h"
#include "library/service_router.h"
#include "platform/guarded.h"
#include "platform/qt/utf16_qstring.h"

using vell::Interpreter;
using vell::vellarray;
using vell::vellvar;

void RequestDispatcher::HandleHostRequest(Interpreter& interp) {
  if (slotsOwner_ != &interp) {
    slots_ = vell::RequestSlots(interp);
    slotsOwner_ = &interp;
  }
  const int kind = slots_[0].ItemInt();
  // The pump request comes before every statement: one that waits is
  // answered before anything else.
  if (kind == vell::RequestPump && PumpWaits()) return;
  vell::Guarded([&] { Dispatch(interp, slots_, kind); },
                // What goes wrong shows as an error box; nothing unwinds into the core.
                [this](std::u16string_view message) { errors_.ShowServiceError(message); });
  if (kind != vell::RequestPump && kind != vell::RequestPrint && kind != vell::RequestComponent) {
    pumpClock_.MarkDue();
  }
}

void RequestDispatcher::Dispatch(Interpreter& interp, vellarray* request, int kind) {
  switch (kind) {
    case vell::RequestPump:
      Pump(false);
      break;
    case vell::RequestPrint:
      output_.Append(request[1].ItemWideText());
      break;
    case vell::RequestMessage: {
      const QString text = vell::qt::ToQString(request[1].ItemWideText());
      output_.Flush();
      request[0].SetItem(vellvar(dialogs_.Message(interp, text)));
      break;
    }
    case vell::RequestInput: {
      const QString prompt = vell::qt::ToQString(request[1].ItemWideText());
      output_.Flush();
      const QString answer = dialogs_.Input(interp, prompt);
      request[0].SetItem(vellvar(vell::qt::Utf16View(answer)));
      break;
    }
    case vell::RequestRunEnded:
      output_.FlushIfShown();
      runCommand_.setEnabled(true);
      break;
    case vell::RequestService:
      output_.Flush();
      vell::RouteServiceRequest(interp, errors_);
      break;
    case vell::RequestWindow:
      WindowRequest(interp);
      break;
    case vell::RequestComponent:
      output_.Flush();
      if (componentTable != nullptr) componentTable->HandleHostRequest(interp);
      break;
    default:
      break;
  }
}

void RequestDispatcher::RealPump() {
  output_.FlushIfShown();
  pumpClock_.Restart();
  QCoreApplication::processEvents();
}

void RequestDispatcher::WindowRequest(Interpreter& interp) {
  vellarray* request = vell::RequestSlots(interp);
  switch (request[1].ItemInt()) {
    case vell::WindowOutputSize: {
      const int width = request[2].ItemInt();
      const int height = request[3].ItemInt();
      Pump(true);
      layout_.SetOutputAreaSize(width, height);
      break;
    }
    case vell::WindowProgramArea:
      output_.Flush();
      layout_.LayoutMemos(request[2].ItemInt() != 0 ? LayoutShowProgram : LayoutHideProgram);
      break;
    default:
      break;
  }
}
