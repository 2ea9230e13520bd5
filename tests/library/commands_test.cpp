// The commands as programs call them, with the platform's layers replaced by
// recorders: what RUN hands to the process starter, what the simulated
// input and the beep are asked for, and the commands' own edges.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "platform/process_start.h"
#include "platform/simulated_input.h"
#include "platform/sound.h"
#include "platform/text_codec.h"
#include "tests/support/files.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell {
namespace {

namespace fs = std::filesystem;
using test::TestInterpreter;
using test::Utf8;

struct StartCall {
  std::string path;
  std::vector<std::string> arguments;
  bool wait = false;
};

class RecordingStarter : public process::ProcessStarter {
 public:
  std::vector<StartCall> starts;
  std::vector<process::RunTarget> opened;
  bool answer = true;
  bool StartProgram(const std::string& path, const std::vector<std::string>& arguments,
                    bool wait) override {
    starts.push_back({path, arguments, wait});
    return answer;
  }
  bool OpenDocument(const process::RunTarget& target) override {
    opened.push_back(target);
    return answer;
  }
};

// Simulated input on a screen of a chosen size; counts what it is asked.
class RecordingInput : public input::InputSimulator {
 public:
  input::ScreenSize screen{1920, 1080};
  int calls = 0;
  input::ScreenSize PrimaryScreenSize() override { return screen; }
  void Key(int, bool) override { ++calls; }
  void MoveAbsolute(int64_t, int64_t) override { ++calls; }
  void Button(input::MouseButton, bool) override { ++calls; }
};

class RecordingSound : public sound::SoundOutput {
 public:
  std::vector<std::pair<int, int>> beeps;
  void Beep(int frequencyHz, int durationMs) override {
    beeps.emplace_back(frequencyHz, durationMs);
  }
};

class Commands : public ::testing::Test {
 protected:
  Commands() {
    RegisterLibraryBuiltins(vm.interp());
    previousStarter = process::SetProcessStarter(&starter);
    previousInput = input::SetInputSimulator(&simulated);
    previousSound = sound::SetSoundOutput(&sound);
  }
  ~Commands() override {
    process::SetProcessStarter(previousStarter);
    input::SetInputSimulator(previousInput);
    sound::SetSoundOutput(previousSound);
  }

  std::string Run(const std::u16string& program) { return Utf8(vm.Run(program)); }

  TestInterpreter vm;
  RecordingStarter starter;
  RecordingInput simulated;
  RecordingSound sound;
  process::ProcessStarter* previousStarter = nullptr;
  input::InputSimulator* previousInput = nullptr;
  sound::SoundOutput* previousSound = nullptr;
};

// A temporary folder that is the current folder while the test runs.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/vell-commands-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) root = pattern;
    previous = fs::current_path();
    fs::current_path(root);
  }
  ~TempFolder() {
    fs::current_path(previous);
    fs::remove_all(root);
  }
  fs::path Executable(const std::string& name, const std::string& script) {
    const fs::path path = root / name;
    test::PutFile(path, script);
    ::chmod(path.c_str(), 0755);
    return path;
  }
  fs::path root;
  fs::path previous;
};

TEST(SplitParameters, FollowsTheWindowsCommandLineRules) {
  struct Case {
    const char16_t* text;
    std::vector<std::u16string> parts;
  };
  const Case cases[] = {
      {u"", {}},
      {u"  \t ", {}},
      {u"a  b\tc", {u"a", u"b", u"c"}},
      {u"\"two words\" x", {u"two words", u"x"}},
      {u"ab\"c d\"e f", {u"abc de", u"f"}},
      {u"\"\"", {u""}},
      {u"a \"\" b", {u"a", u"", u"b"}},
      {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
      {u"a\\\"b", {u"a\"b"}},                          // odd backslashes: a literal quote
      {u"a\\\\\"b c\"", {u"a\\b c"}},                  // even: halved, the quote groups
      {u"a\\\\\\\"b", {u"a\\\"b"}},                    // three: one backslash and a quote
      {u"C:\\dir\\file.txt", {u"C:\\dir\\file.txt"}},  // no quote: literal
      {u"\"C:\\dir\\\\\"", {u"C:\\dir\\"}},
      {u"\"open end", {u"open end"}},
      {u"; rm -rf x && y | z $(w)", {u";", u"rm", u"-rf", u"x", u"&&", u"y", u"|", u"z", u"$(w)"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(process::SplitParameters(c.text), c.parts) << Utf8(c.text);
  }
}

TEST_F(Commands, RunHandsProgramsDocumentsAndUrlsOn) {
  TempFolder folder;
  const fs::path tool = folder.Executable("my tool.sh", "#!/bin/sh\n");
  test::PutFile(folder.root / "notes.txt", "x");
  fs::create_directory(folder.root / "Sub");
  const std::string toolPath = tool.string();

  // Quotes and backslashes arrive as Windows programs would receive them.
  EXPECT_EQ(Run(u"DIM Q, B\nQ = CHR(34)\nB = CHR(92)\n"
                u"PRINT RUN(\"" +
                text::AnsiToWide(toolPath) +
                u"\", \"a \" + Q + \"b c\" + Q + \" d\" + B + Q + \"e\", 1), \"|\"\n"
                u"PRINT RUN(\"my tool.sh\", \"\", 2), RUN(\"./my tool.sh\"), RUN(\".\\\\MY "
                u"TOOL.SH\", 7)\n"),
            "1|011");
  ASSERT_EQ(starter.starts.size(), 3u);
  EXPECT_EQ(starter.starts[0].path, toolPath);
  EXPECT_EQ(starter.starts[0].arguments, (std::vector<std::string>{"a", "b c", "d\"e"}));
  EXPECT_TRUE(starter.starts[0].wait);
  // A bare name is looked up in PATH only, never in the current folder.
  EXPECT_EQ(starter.starts[1].path, "./my tool.sh");
  EXPECT_TRUE(starter.starts[1].arguments.empty());
  EXPECT_FALSE(starter.starts[1].wait);
  EXPECT_EQ(starter.starts[2].path, "./my tool.sh");  // backslash and case as programs write them
  EXPECT_FALSE(starter.starts[2].wait);

  starter.starts.clear();
  EXPECT_EQ(Run(u"PRINT RUN(\"notes.txt\"), RUN(\"sub\"), RUN(\"http://example.com/a b\"), "
                u"RUN(\"mailto:someone@example.com\")"),
            "1111");
  EXPECT_TRUE(starter.starts.empty());
  ASSERT_EQ(starter.opened.size(), 4u);
  EXPECT_EQ(starter.opened[0].kind, process::RunTarget::Document);
  EXPECT_EQ(starter.opened[0].path, (folder.root / "notes.txt").string());
  EXPECT_EQ(starter.opened[1].path, (folder.root / "Sub").string());
  EXPECT_EQ(starter.opened[2].kind, process::RunTarget::Url);
  EXPECT_EQ(starter.opened[2].path, "http://example.com/a b");
  EXPECT_EQ(starter.opened[3].kind, process::RunTarget::Url);

  // Nothing to start, or a start that fails: 0, and the program goes on.
  starter.opened.clear();
  EXPECT_EQ(
      Run(u"PRINT RUN(\"\"), RUN(\"missing here\"), RUN(\"no/such/file\"), RUN(\"C:\\\\x.exe\")\n"
          u"PRINT \"on\""),
      "0000on");
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_TRUE(starter.opened.empty());
  starter.answer = false;
  EXPECT_EQ(Run(u"PRINT RUN(\"./my tool.sh\", \"x\", 1), RUN(\"notes.txt\")"), "00");
}

TEST_F(Commands, RunFindsBareNamesInPath) {
  TempFolder folder;
  fs::create_directory(folder.root / "bin");
  folder.Executable("bin/vell-test-tool", "#!/bin/sh\n");
  folder.Executable("local-tool", "#!/bin/sh\n");
  const char* old = std::getenv("PATH");
  const std::string previousPath = old != nullptr ? old : "";
  ::setenv("PATH", ("/nonexistent::" + (folder.root / "bin").string()).c_str(), 1);
  const std::string out = Run(u"PRINT RUN(\"vell-test-tool\", \"-v\"), RUN(\"local-tool\")");
  ::setenv("PATH", previousPath.c_str(), 1);
  EXPECT_EQ(out, "10");
  ASSERT_EQ(starter.starts.size(), 1u);
  EXPECT_EQ(starter.starts[0].path, (folder.root / "bin" / "vell-test-tool").string());
}

TEST_F(Commands, NoScreenNoMoveAndTheBeep) {
  // Without a screen nothing moves (and nothing divides by zero).
  simulated.screen = {0, 0};
  EXPECT_EQ(Run(u"PRINT MOUSEMOVE(10, 10)"), "0");
  EXPECT_EQ(simulated.calls, 0);
  // BEEP leaves the current value as it was.
  EXPECT_EQ(Run(u"DIM X\nX = 7\nBEEP\nPRINT X + BEEP"), "14");
  EXPECT_EQ(sound.beeps, (std::vector<std::pair<int, int>>{{2400, 100}, {2400, 100}}));
}

TEST(PixelFromAbsolute, EveryPixelSurvivesTheWayThroughAbsoluteUnits) {
  for (int64_t size : {1, 2, 640, 1000, 1366, 1920, 2560, 3840, 7680}) {
    for (int64_t x = 0; x < size; ++x) {
      const int64_t units = x * 65537 / size;
      ASSERT_EQ(input::PixelFromAbsolute(units, size), x) << size;
    }
  }
  EXPECT_EQ(input::PixelFromAbsolute(100, 0), 0);
}

TEST_F(Commands, CommandLinePastTheEndNeverGrowsTheList) {
  vm.interp().commandLine.Append(vellvar(u"/opt/vell/vell"));
  vm.interp().commandLine.Append(vellvar(u"prog.vell"));
  EXPECT_EQ(Run(u"PRINT COMMANDLINE(-5), \"|\", COMMANDLINE(1), \"|\", COMMANDLINE(2), \"|\", "
                u"COMMANDLINE(2000000000), \"|\", COMMANDLINE(\"1\")"),
            "/opt/vell/vell|prog.vell|||prog.vell");
  EXPECT_EQ(vm.interp().commandLine.childCount, 2);
}

TEST_F(Commands, NestedTextsKeepAStopAndReportOnce) {
  // END inside the nested text stops everything without a message.
  EXPECT_EQ(Run(u"PRINT 1\nCALLSUB(\"END\")\nPRINT 2"), "1");
  // An error inside a SUB that CALC calls names the SUB, once.
  EXPECT_EQ(Run(u"SUB BAD { RETURN (1 / 0) }\nPRINT CALC(\"BAD + 1\")\nPRINT 3"),
            "[MSG]\nBAD 1: arithmetic error");
  // A stop pending when the nested text would start is kept: the text does
  // not run.
  vm.host.onPump = [](Interpreter& interp, int n) {
    if (n == 2) SetRunState(interp, StateEnd);
  };
  EXPECT_EQ(Run(u"PRINT CALLSUB(\"PRINT 5\")"), "");
}

}  // namespace
}  // namespace vell
