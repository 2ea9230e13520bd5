// A private X server (Xvfb) for the tests of one fixture, and the programs
// the tests start on it. Tests skip where Xvfb is not installed.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/process_start.h"

namespace vell::test {

class PrivateXServer {
 public:
  PrivateXServer() = default;
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;
  ~PrivateXServer() { Stop(); }

  // Starts a server with one screen of this size; the empty text when it
  // started, else why not.
  std::string Start(int width, int height) {
    const process::RunTarget found = process::LocateRunTarget(u"Xvfb");
    if (found.kind != process::RunTarget::Program) return "Xvfb is not installed";
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    server_ = ::fork();
    if (server_ < 0) return "no fork";
    if (server_ == 0) {
      ::close(fds[0]);
      Quiet();
      ::execl(found.path.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(),
              "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 15000) > 0) {
      char c;
      if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    ::close(fds[0]);
    if (number.empty()) return "Xvfb did not start";
    display_ = ":" + number;
    return {};
  }

  // Starts a program on this display with these arguments; its process id,
  // or -1. The program's output goes nowhere.
  pid_t StartProgram(const std::string& path, const char* const* arguments,
                     const std::string& folder = {}) const {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::setenv("DISPLAY", display_.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(127);
    Quiet();
    ::execv(path.c_str(), const_cast<char* const*>(arguments));
    ::_exit(127);
  }

  static void StopProgram(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
  }

  void Stop() { StopProgram(server_); }

  const std::string& display() const { return display_; }

 private:
  static void Quiet() {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 1);
    ::dup2(null, 2);
  }

  pid_t server_ = -1;
  std::string display_;
};

}  // namespace vell::test
