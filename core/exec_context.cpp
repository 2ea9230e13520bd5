#include "core/exec_context.h"

#include <algorithm>
#include <cstring>

namespace vell {

SharedText MakeSharedText(std::u16string_view text) {
  auto* made = new ProgramText();
  made->chars.assign(text.data(), text.size());
  return SharedText(made);
}

void ExecContext::SetToken(std::u16string_view text) {
  const size_t n = std::min<size_t>(text.size(), kTokenCapacity - 1);
  if (n > 0) std::memcpy(token, text.data(), n * sizeof(char16_t));
  token[n] = 0;
  tokenLength = static_cast<int32_t>(n);
  tokenPending = -1;
  lexedStart = -1;
  lexedFact = -1;
}

}  // namespace vell
