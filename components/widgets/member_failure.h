// A member that the control refuses (a range that cannot be, a file that
// cannot be played or read, no printer, the focus for a hidden control)
// fails the way the class library's errors do: the request ends there, the
// table shows the reason in a message and the program goes on. The answer
// of the request is then not set: it stays the operation number (6 for a
// set or call, 7 for a read), which becomes the value of the member.
#pragma once

#include <QString>
#include <stdexcept>

namespace vell {

struct MemberCall;

// Thrown by a member handler; the component table catches it (and only it)
// around every member request.
class MemberFailure : public std::runtime_error {
 public:
  explicit MemberFailure(const QString& text)
      : std::runtime_error(text.toStdString()), text_(text) {}
  explicit MemberFailure(const std::string& text) : MemberFailure(QString::fromStdString(text)) {}
  explicit MemberFailure(const char* text) : MemberFailure(QString::fromUtf8(text)) {}
  const QString& Text() const { return text_; }

 private:
  QString text_;
};

// Ends the member request `call` with the message `text`.
[[noreturn]] inline void ReportMemberFailure(MemberCall& /*call*/, const QString& text) {
  throw MemberFailure(text);
}

}  // namespace vell
