// Routes service requests (RequestService) to the string-list, text-file and
// database services. The main window and the console runner both use it.
#pragma once

#include <string_view>

namespace vell {

struct Interpreter;

// Where a failing service shows its error (a message box in the window).
class ServiceErrorSink {
 public:
  virtual ~ServiceErrorSink() = default;
  virtual void ShowServiceError(std::u16string_view message) = 0;
};

// Performs the service whose number is in request slot 1, with its arguments
// in slots 2 to 4, and leaves the result in slot 1. A service that fails
// shows its error through the sink and leaves slot 1 holding its number.
void RouteServiceRequest(Interpreter& interp, ServiceErrorSink& errors);

}  // namespace vell
