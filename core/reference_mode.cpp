#include "core/reference_mode.h"

#include <cstdlib>
#include <cstring>

namespace vell {

namespace {

bool ReadFromEnvironment() {
  const char* value = std::getenv("VELL_REFERENCE");
  return value != nullptr && value[0] != 0 && std::strcmp(value, "0") != 0;
}

}  // namespace

namespace detail {
bool gReferenceMode = ReadFromEnvironment();
}  // namespace detail

void SetReferenceMode(bool on) { detail::gReferenceMode = on; }

}  // namespace vell
