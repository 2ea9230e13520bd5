#include "host/request_dispatcher.h"

#include <time.h>

#include <QAction>
#include <QCoreApplication>
#include <QString>

#include "core/exec_context.h"
#include "host/output_area.h"
#include "host/program_dialogs.h"
#include "host/window_layout.h"
#include "library/service_router.h"
#include "platform/guarded.h"

using vell::Interpreter;
using vell::RequestSlot;
using vell::vellvar;

namespace {

QString Q(const char16_t* text) { return QString::fromUtf16(text); }

std::u16string_view U(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

long long CoarseMilliseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

void RequestDispatcher::HandleHostRequest(Interpreter& interp) {
  int kind = 0;
  vell::Guarded(
      [&] {
        kind = RequestSlot(interp, 0).ItemInt();
        switch (kind) {
          case vell::RequestPump:
            Pump(false);
            break;
          case vell::RequestPrint:
            output_.Append(RequestSlot(interp, 1).ItemWideText());
            break;
          case vell::RequestMessage: {
            const QString text = Q(RequestSlot(interp, 1).ItemWideText());
            output_.Flush();
            RequestSlot(interp, 0).SetItem(vellvar(dialogs_.Message(interp, text)));
            break;
          }
          case vell::RequestInput: {
            const QString prompt = Q(RequestSlot(interp, 1).ItemWideText());
            output_.Flush();
            const QString answer = dialogs_.Input(interp, prompt);
            RequestSlot(interp, 0).SetItem(vellvar(U(answer)));
            break;
          }
          case vell::RequestRunEnded:
            output_.Flush();
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
            componentTable ? componentTable->HandleHostRequest(interp) : ComponentRequest(interp);
            break;
          default:
            break;
        }
      },
      // What goes wrong shows as an error box; nothing unwinds into the core.
      [this](std::u16string_view message) { errors_.ShowServiceError(message); });
  lastKind_ = kind;
}

void RequestDispatcher::Pump(bool force) {
  // Processing events costs several times a simple statement, so a stream of
  // pump requests processes them only every few milliseconds; after any
  // other request but output the next pump is real. The coarse clock costs a
  // few nanoseconds, so it is read on every pump: however slow the
  // statements, the window still reacts within the interval.
  const long long now = CoarseMilliseconds();
  if (!force && (lastKind_ == vell::RequestPump || lastKind_ == vell::RequestPrint) &&
      lastPumpMs_ >= 0 && now - lastPumpMs_ < kPumpIntervalMs) {
    return;
  }
  output_.Flush();
  lastPumpMs_ = now;
  QCoreApplication::processEvents();
}

void RequestDispatcher::WindowRequest(Interpreter& interp) {
  switch (RequestSlot(interp, 1).ItemInt()) {
    case vell::WindowOutputSize: {
      const int width = RequestSlot(interp, 2).ItemInt();
      const int height = RequestSlot(interp, 3).ItemInt();
      Pump(true);
      layout_.SetOutputAreaSize(width, height);
      break;
    }
    case vell::WindowProgramArea:
      output_.Flush();
      layout_.LayoutMemos(RequestSlot(interp, 2).ItemInt() != 0 ? LayoutShowProgram
                                                                 : LayoutHideProgram);
      break;
    default:
      break;
  }
}

// Member access straight through the interpreter's component bridge, for a
// window without a component table.
void RequestDispatcher::ComponentRequest(Interpreter& interp) {
  vell::ComponentBridge* components = vell::Components(interp);
  if (components == nullptr) return;
  const int operation = RequestSlot(interp, 1).ItemInt();
  if (operation != vell::ComponentSet && operation != vell::ComponentGet) return;
  const int slot = RequestSlot(interp, 2).ItemInt();
  const int member = RequestSlot(interp, 3).ItemInt();
  vellvar args[3] = {RequestSlot(interp, 4).item, RequestSlot(interp, 5).item,
                     RequestSlot(interp, 6).item};
  vell::ExecContext ctx;
  if (operation == vell::ComponentSet) {
    const int r = components->SetComponentMember(interp, ctx, slot, member, args);
    RequestSlot(interp, 1).SetItem(vellvar(r));
  } else {
    if (components->GetComponentMember(interp, ctx, slot, member, args) == vell::ResultFailed) return;
    RequestSlot(interp, 4).SetItem(ctx.value);
    RequestSlot(interp, 1).SetItem(ctx.value);
  }
}
