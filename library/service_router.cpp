// The service router: request kind 5 goes to the string-list service
// (1001-2000), the text-file service (2001-3000) or the database service
// (above 3000). A service that fails shows its message through the sink and
// leaves slot 1 holding its own number, which the requesting keyword returns.
#include "library/service_router.h"

#include <exception>
#include <new>

#include "core/host_request.h"
#include "core/interpreter.h"
#include "library/service_error.h"
#include "library/services.h"

namespace vell {

namespace {

// Shows a service's failure. The box may run a nested event loop, where an
// event text can send requests of its own, so the failed request's answer,
// its own number, is written again afterwards.
void ReportFailure(Interpreter& interp, ServiceErrorSink& errors, int32_t service,
                   std::u16string_view message) {
  errors.ShowServiceError(message);
  interp.requestSlots[1].SetItem(vellvar(static_cast<int>(service)));
}

}  // namespace

void RouteServiceRequest(Interpreter& interp, ServiceErrorSink& errors) {
  const int32_t service = interp.requestSlots[1].ItemInt();
  try {
    if (service > kLastTextFileService) {
      DatabaseService(interp, service);
    } else if (service > kLastListService) {
      TextFileService(interp, service);
    } else if (service > 1000) {
      StringListService(interp, service);
    }
  } catch (const ServiceError& error) {
    ReportFailure(interp, errors, service, error.Message());
  } catch (const std::bad_alloc&) {
    ReportFailure(interp, errors, service, u"Out of memory");
  } catch (const std::exception&) {
    ReportFailure(interp, errors, service, u"The service could not be performed");
  }
}

void SendServiceRequest(Interpreter& interp, ExecContext& ctx, int32_t service, const vellvar* args,
                        int count) {
  interp.requestSlots[0].SetItem(vellvar(static_cast<int>(::RequestService)));
  interp.requestSlots[1].SetItem(vellvar(static_cast<int>(service)));
  for (int i = 0; i < count; ++i) interp.requestSlots[2 + i].SetItem(args[i]);
  SendHostRequest(interp);
  ctx.value = interp.requestSlots[1].item;
}

}  // namespace vell
