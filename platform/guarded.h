// One way of keeping exceptions from unwinding further: into the window's
// event loop, out of the interpreter's entry, out of a service.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text_codec.h"

namespace vell {

// The warning shown when memory ran out.
inline constexpr char16_t kNoMemoryWarning[] = u"cannot allocate memory ";

enum class Failure { NoMemory, Exception, Unknown };

// The text a failure is reported with: the warning for lack of memory, the
// exception's own text (UTF-8) otherwise, empty for something that is no
// standard exception.
inline std::u16string FailureText(Failure failure, std::string_view what) {
  switch (failure) {
    case Failure::NoMemory: return kNoMemoryWarning;
    case Failure::Exception: return text::Utf8ToWide(what);
    default: return {};
  }
}

// Runs work; an exception it throws goes to onFailure(Failure, what) instead
// of further. True when work finished.
template <class Work, class OnFailure>
bool GuardedCall(Work&& work, OnFailure&& onFailure) {
  try {
    work();
    return true;
  } catch (const std::bad_alloc& e) {
    onFailure(Failure::NoMemory, std::string_view(e.what()));
  } catch (const std::exception& e) {
    onFailure(Failure::Exception, std::string_view(e.what()));
  } catch (...) {
    onFailure(Failure::Unknown, std::string_view());
  }
  return false;
}

// The same, reporting the failure's text to report(std::u16string_view).
template <class Work, class Report>
bool Guarded(Work&& work, Report&& report) {
  return GuardedCall(std::forward<Work>(work), [&](Failure failure, std::string_view what) {
    report(std::u16string_view(FailureText(failure, what)));
  });
}

}  // namespace vell
