// Runs a test's body in the reference mode, or out of it, and restores the
// mode before.
#pragma once

#include "core/reference_mode.h"

namespace vell::test {

class ReferenceScope {
 public:
  explicit ReferenceScope(bool on) : saved_(ReferenceMode()) { SetReferenceMode(on); }
  ~ReferenceScope() { SetReferenceMode(saved_); }
  ReferenceScope(const ReferenceScope&) = delete;
  ReferenceScope& operator=(const ReferenceScope&) = delete;

 private:
  bool saved_;
};

}  // namespace vell::test
