// The service router: RequestService goes to the string-list service
// (1001-2000), the text-file service (2001-3000) or the database service
// (above 3000). A service that fails shows its message through the sink and
// leaves slot 1 holding its own number, which the requesting keyword returns.
#include "library/service_router.h"

#include "core/host_request.h"
#include "core/interpreter.h"
#include "library/service_error.h"
#include "library/services.h"
#include "platform/guarded.h"

namespace vell {

namespace {

// Shows a service's failure. The box may run a nested event loop, where an
// event text can send requests of its own, so the failed request's answer,
// its own number, is written again afterwards.
void ReportFailure(Interpreter& interp, ServiceErrorSink& errors, int32_t service,
                   std::u16string_view message) {
  errors.ShowServiceError(message);
  RequestSlots(interp)[1].SetItem(vellvar(static_cast<int>(service)));
}

}  // namespace

void RouteServiceRequest(Interpreter& interp, ServiceErrorSink& errors) {
  const int32_t service = RequestSlots(interp)[1].ItemInt();
  GuardedCall(
      [&] {
        try {
          if (service > kLastTextFileService) {
            DatabaseService(interp, service);
          } else if (service > kLastListService) {
            TextFileService(interp, service);
          } else if (service >= ServiceCountList) {
            StringListService(interp, service);
          }
        } catch (const ServiceError& error) {
          ReportFailure(interp, errors, service, error.Message());
        }
      },
      [&](Failure failure, std::string_view) {
        ReportFailure(interp, errors, service,
                      failure == Failure::NoMemory ? u"Out of memory"
                                                   : u"The service could not be performed");
      });
}

void SendServiceRequest(Interpreter& interp, ExecContext& ctx, int32_t service, const vellvar* args,
                        int count) {
  ctx.value = SendService(interp, service, args, count);
}

}  // namespace vell
