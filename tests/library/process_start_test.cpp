// RUN starting real programs: waiting and not waiting, parameters with
// blanks and quotes, no shell in between, and starts that fail.
#include "platform/process_start.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "library/commands.h"
#include "library/library_builtins.h"
#include "platform/text_codec.h"
#include "tests/support/files.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell {
namespace {

namespace fs = std::filesystem;

class RealStarts : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vell run-XXXXXX";  // a blank in every path
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    // Writes its parameters one a line into the file named by the first.
    writer = Script("write args.sh",
                    "#!/bin/sh\nout=\"$1\"\nshift\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done "
                    ">\"$out.tmp\"\nmv \"$out.tmp\" \"$out\"\n");
    // Sleeps a moment, then writes "done" into the file named by its parameter.
    late = Script("late writer.sh",
                  "#!/bin/sh\nsleep 0.4\necho done >\"$1.tmp\"\nmv \"$1.tmp\" \"$1\"\n");
  }
  void TearDown() override { fs::remove_all(root); }

  fs::path Script(const std::string& name, const std::string& text) {
    const fs::path path = root / name;
    test::PutFile(path, text);
    ::chmod(path.c_str(), 0755);
    return path;
  }
  static std::u16string W(const fs::path& path) { return text::AnsiToWide(path.string()); }

  static bool AppearsWithin(const fs::path& path, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path)) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  fs::path root, writer, late;
};

TEST_F(RealStarts, WaitFlagOneWaitsOtherFlagsDoNot) {
  test::TestInterpreter vm;
  RegisterLibraryBuiltins(vm.interp());
  const fs::path waited = root / "waited";
  const fs::path detached = root / "detached";
  // The waited run has written its file when RUN returns.
  EXPECT_EQ(
      test::Utf8(vm.Run(u"PRINT RUN(\"" + W(late) + u"\", \"\\\"" + W(waited) + u"\\\"\", 1)")),
      "1");
  EXPECT_TRUE(fs::exists(waited));

  // Flag 2 returns at once; the file comes later, and no zombie is left.
  EXPECT_EQ(
      test::Utf8(vm.Run(u"PRINT RUN(\"" + W(late) + u"\", \"\\\"" + W(detached) + u"\\\"\", 2)")),
      "1");
  EXPECT_FALSE(fs::exists(detached));
  EXPECT_TRUE(AppearsWithin(detached, std::chrono::seconds(10)));
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(RealStarts, ParametersArriveAsSplitWithoutAShell) {
  const fs::path out = root / "args";
  const std::u16string parameters = u"\"" + W(out) +
                                    u"\" plain \"two words\" say\\\"hi \"\" back\\\\slash "
                                    u"\"; touch pwned\" $(touch pwned2) ';' `id`";
  ASSERT_TRUE(RunFile(W(writer), parameters, true));
  EXPECT_EQ(
      test::FileBytes(out),
      "plain\ntwo words\nsay\"hi\n\nback\\\\slash\n; touch pwned\n$(touch\npwned2)\n';'\n`id`\n");
  EXPECT_FALSE(fs::exists("pwned"));
  EXPECT_FALSE(fs::exists("pwned2"));
  EXPECT_FALSE(fs::exists(root / "pwned"));
}

TEST_F(RealStarts, StartsThatFailGiveFalse) {
  // Executable bits on a file no program loader accepts.
  const fs::path junk = Script("junk", std::string("\x01\x02\x03 not a program"));
  EXPECT_FALSE(RunFile(W(junk), u"", true));
  EXPECT_FALSE(RunFile(W(junk), u"", false));
  EXPECT_FALSE(RunFile(W(root / "missing.sh"), u"", true));
  // The default starter has no desktop opener.
  test::PutFile(root / "readme.txt", "x");
  EXPECT_FALSE(RunFile(W(root / "readme.txt"), u"", false));
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // failed starts are reaped too

  test::TestInterpreter vm;
  RegisterLibraryBuiltins(vm.interp());
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT RUN(\"" + W(root / "missing.sh") +
                              u"\", \"a\", 1), \"|\"\nPRINT \"goes on\"")),
            "0|goes on");
}

}  // namespace
}  // namespace vell
