#include "library/service_router.h"

#include <fstream>
#include <sstream>
#include <string>

#include "core/interpreter.h"
#include "platform/text_codec.h"

namespace vell {

// Interim router: serves only the loading of a text file (2001), reading
// UTF-8 with or without a byte-order mark. The full services replace it.
void RouteServiceRequest(Interpreter& interp, ServiceErrorSink& errors) {
  const int service = interp.requestSlots[1].ItemInt();
  if (service != 2001) return;
  std::u16string path = interp.requestSlots[2].ItemWideText();
  std::ifstream in(text::WideToUtf8(path), std::ios::binary);
  if (!in) {
    errors.ShowServiceError(u"Cannot open file " + path);
    return;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string bytes = buffer.str();
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  interp.requestSlots[1].SetItem(vellvar(std::u16string_view(text::Utf8ToWide(bytes))));
}

}  // namespace vell
