// Simulated input on a private X server: after each command the pointer's
// position and the state of its buttons and of the keys are read back from
// the server. Skipped when Xvfb is not installed.
#include "platform/x11/xtest_input.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "library/library_builtins.h"
#include "platform/simulated_input.h"
#include "tests/support/recording_host.h"
#include "tests/x11/private_x_server.h"

// Last: the X headers define macros such as None and Status.
#include <X11/Xlib.h>
#include <X11/keysym.h>

using namespace vell;

namespace vell {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

class XTestInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string failed = server_.Start(kWidth, kHeight);
    if (!failed.empty()) GTEST_SKIP() << failed;
    displayName_ = server_.display();
    display_ = XOpenDisplay(displayName_.c_str());
    ASSERT_NE(display_, nullptr);
    simulator_ = std::make_unique<x11::XTestInput>(displayName_);
    ASSERT_TRUE(simulator_->Available());
    previous_ = input::SetInputSimulator(simulator_.get());
    RegisterLibraryBuiltins(vm_.interp());
  }

  void TearDown() override {
    if (simulator_) input::SetInputSimulator(previous_);
    simulator_.reset();
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  void Run(const std::u16string& program) {
    EXPECT_EQ(test::Utf8(vm_.Run(u"PRINT " + program)), "0") << test::Utf8(program);
  }

  struct Pointer {
    int x, y;
    unsigned int mask;
  };
  Pointer QueryPointer() {
    Window root, child;
    int rootX = -1, rootY = -1, winX, winY;
    unsigned int mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX,
                  &winY, &mask);
    return {rootX, rootY, mask};
  }
  bool KeyDown(KeySym keysym) {
    char keys[32];
    XQueryKeymap(display_, keys);
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    EXPECT_NE(code, 0);
    return (keys[code / 8] >> (code % 8)) & 1;
  }

  test::TestInterpreter vm_;
  test::PrivateXServer server_;
  std::string displayName_;
  Display* display_ = nullptr;
  std::unique_ptr<x11::XTestInput> simulator_;
  input::InputSimulator* previous_ = nullptr;
};

TEST_F(XTestInputTest, PointerPositionAndButtons) {
  const input::ScreenSize screen = simulator_->PrimaryScreenSize();
  EXPECT_EQ(screen.width, kWidth);
  EXPECT_EQ(screen.height, kHeight);

  struct Move {
    const char16_t* call;
    int x, y;
  };
  const Move moves[] = {
      {u"MOUSEMOVE(100, 200)", 100, 200},
      {u"MOUSEMOVE(0, 0)", 0, 0},
      {u"MOUSEMOVE(1023, 767)", 1023, 767},
      {u"MOUSEMOVE(1, 1)", 1, 1},
      {u"MOUSEMOVE(511, 384)", 511, 384},
      {u"MOUSEMOVE(40000, 50000)", 1023, 767},  // beyond the screen: its far edge
      {u"MOUSEMOVE(-3, 10)", 0, 10},
  };
  for (const Move& m : moves) {
    Run(m.call);
    const Pointer p = QueryPointer();
    EXPECT_EQ(p.x, m.x) << test::Utf8(m.call);
    EXPECT_EQ(p.y, m.y) << test::Utf8(m.call);
  }

  struct Press {
    const char16_t* call;
    unsigned int mask;
  };
  const Press presses[] = {
      {u"MOUSEDOWN(0)", Button1Mask},
      {u"MOUSEDOWN(2)", Button1Mask | Button2Mask},
      {u"MOUSEUP(0)", Button2Mask},
      {u"MOUSEDOWN(1)", Button2Mask | Button3Mask},
      {u"MOUSEDOWN(3)", Button2Mask | Button3Mask},  // no such button: nothing
      {u"MOUSEUP(2)", Button3Mask},
      {u"MOUSEUP(1)", 0},
  };
  constexpr unsigned int kButtons = Button1Mask | Button2Mask | Button3Mask;
  for (const Press& press : presses) {
    Run(press.call);
    EXPECT_EQ(QueryPointer().mask & kButtons, press.mask) << test::Utf8(press.call);
  }
  EXPECT_EQ(QueryPointer().x, 0);  // the buttons did not move the pointer
}

TEST_F(XTestInputTest, KeyState) {
  struct Key {
    const char16_t* call;
    KeySym keysym;
    bool down;
  };
  const Key keys[] = {
      {u"KEYDOWN(65)", XK_a, true},       {u"KEYUP(65)", XK_a, false},
      {u"KEYDOWN(16)", XK_Shift_L, true}, {u"KEYDOWN(0x31)", XK_1, true},
      {u"KEYUP(0x31)", XK_1, false},      {u"KEYUP(16)", XK_Shift_L, false},
      {u"KEYDOWN(0x70)", XK_F1, true},    {u"KEYUP(0x70)", XK_F1, false},
      {u"KEYDOWN(13)", XK_Return, true},  {u"KEYUP(13)", XK_Return, false},
      {u"KEYDOWN(0x25)", XK_Left, true},  {u"KEYUP(0x25)", XK_Left, false},
      {u"KEYDOWN(0x141)", XK_a, true},    {u"KEYUP(65)", XK_a, false},  // low 8 bits
      {u"KEYDOWN(0xBD)", XK_minus, true}, {u"KEYUP(0xBD)", XK_minus, false},
  };
  for (const Key& k : keys) {
    Run(k.call);
    EXPECT_EQ(KeyDown(k.keysym), k.down) << test::Utf8(k.call);
  }
  Run(u"KEYDOWN(16)");
  EXPECT_TRUE(QueryPointer().mask & ShiftMask);
  Run(u"KEYUP(16)");
  EXPECT_FALSE(QueryPointer().mask & ShiftMask);
  // A code without a key does nothing.
  Run(u"KEYDOWN(0xFF)");
  char state[32];
  XQueryKeymap(display_, state);
  for (char byte : state) EXPECT_EQ(byte, 0);
}

TEST(XTestInputWithoutDisplay, DoesNothing) {
  x11::XTestInput none("/nonexistent/display:0");
  EXPECT_FALSE(none.Available());
  EXPECT_EQ(none.PrimaryScreenSize().width, 0);
  none.Key(65, true);
  none.MoveAbsolute(10, 10);
  none.Button(input::MouseButton::Left, true);
}

}  // namespace
}  // namespace vell
