// The failure of a numbered service: the router catches it and shows its
// message; the request's slot 1 then still holds the service number.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vell {

class ServiceError : public std::runtime_error {
 public:
  explicit ServiceError(std::u16string_view message)
      : std::runtime_error("service error"), message_(message) {}
  const std::u16string& Message() const { return message_; }

 private:
  std::u16string message_;
};

}  // namespace vell
