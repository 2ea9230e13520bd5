// The main window under a window manager (openbox) on a private X server: a
// program from the command line that sizes the window at once leaves it
// where it stands, and a minimised window that a program sizes stays
// minimised. Each program shows a form of its own last; once the window
// manager has put that form on the screen it has also handled every earlier
// request of the program. Skipped where Xvfb or openbox is missing.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/files.h"
#include "tests/x11/private_x_server.h"

// Last: the X headers define macros such as None and Status.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vell {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr char kMarker[] = "placed";  // the caption of the form each program shows last

// Windows come and go while the tests look at them: a request about one
// that is gone fails quietly.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

class WindowManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string failed = server_.Start(kWidth, kHeight);
    if (!failed.empty()) GTEST_SKIP() << failed;
    const process::RunTarget openbox = process::LocateRunTarget(u"openbox");
    if (openbox.kind != process::RunTarget::Program) GTEST_SKIP() << "openbox is not installed";
    display_ = XOpenDisplay(server_.display().c_str());
    ASSERT_NE(display_, nullptr);
    XSetErrorHandler(IgnoreError);
    const char* const arguments[] = {"openbox", nullptr};
    manager_ = server_.StartProgram(openbox.path, arguments);
    ASSERT_GT(manager_, 0);
    ASSERT_TRUE(WaitFor([this] { return ManagerRunning(); })) << "openbox did not start";
    char pattern[] = "/tmp/vell-window-manager-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }

  void TearDown() override {
    test::PrivateXServer::StopProgram(vell_);
    test::PrivateXServer::StopProgram(manager_);
    if (display_ != nullptr) XCloseDisplay(display_);
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  // Writes the program, starts Vell with these switches before its path and
  // waits until the program's last form is on the screen. The main window.
  Window RunProgram(const std::string& name, const std::string& statements,
                    const char* switchBefore = nullptr) {
    const std::string path = folder_ + "/" + name;
    test::PutFile(path, statements + "\nDIM F\nF = CREATE FORM\nF.CAPTION = \"" + kMarker +
                            "\"\nF.VISIBLE = 1\n");
    test::PrivateXServer::StopProgram(vell_);
    const char* const withSwitch[] = {"vell", switchBefore, path.c_str(), nullptr};
    const char* const plain[] = {"vell", path.c_str(), nullptr};
    vell_ = server_.StartProgram(VELL_EXECUTABLE, switchBefore ? withSwitch : plain, folder_);
    Window marker = 0;
    EXPECT_TRUE(WaitFor([&] { return Viewable(marker = Named(kMarker)); })) << name;
    return Named(path);
  }

  // Where the window's top-left corner and its frame's stand on the screen.
  struct Place {
    int clientX, clientY, frameX, frameY;
  };
  Place PlaceOf(Window client) {
    Place place{};
    Window child;
    XTranslateCoordinates(display_, client, DefaultRootWindow(display_), 0, 0, &place.clientX,
                          &place.clientY, &child);
    const Window frame = TopLevel(client);
    XTranslateCoordinates(display_, frame, DefaultRootWindow(display_), 0, 0, &place.frameX,
                          &place.frameY, &child);
    return place;
  }

  // The first value of a window's property of this name and type, or -1.
  long Property(Window w, const char* name, Atom type) {
    Atom found;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long result = -1;
    if (XGetWindowProperty(display_, w, XInternAtom(display_, name, False), 0, 1, False, type,
                           &found, &format, &count, &after, &data) == Success &&
        data != nullptr && count > 0) {
      result = reinterpret_cast<long*>(data)[0];
    }
    if (data != nullptr) XFree(data);
    return result;
  }
  // The window's ICCCM state: 1 normal, 3 iconic, -1 none.
  long WmState(Window w) { return Property(w, "WM_STATE", XInternAtom(display_, "WM_STATE", False)); }

 private:
  // Whether done holds within a generous time: the window manager works on
  // its own.
  static bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  bool ManagerRunning() {
    return Property(DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) != -1;
  }

  bool Viewable(Window w) {
    XWindowAttributes attributes{};
    return w != 0 && XGetWindowAttributes(display_, w, &attributes) &&
           attributes.map_state == IsViewable;
  }

  // The window named so, searched below w.
  Window Named(const std::string& name, Window w = 0) {
    if (w == 0) w = DefaultRootWindow(display_);
    char* title = nullptr;
    const bool match = XFetchName(display_, w, &title) && title != nullptr && name == title;
    if (title != nullptr) XFree(title);
    if (match) return w;
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display_, w, &root, &parent, &children, &count)) {
      for (unsigned int i = 0; i < count && found == 0; ++i) found = Named(name, children[i]);
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  // The window's ancestor that is a child of the root: its frame, if any.
  Window TopLevel(Window w) {
    for (;;) {
      Window root, parent, *children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(display_, w, &root, &parent, &children, &count)) return w;
      if (children != nullptr) XFree(children);
      if (parent == root) return w;
      w = parent;
    }
  }

  test::PrivateXServer server_;
  Display* display_ = nullptr;
  pid_t manager_ = -1;
  pid_t vell_ = -1;
  std::string folder_;
};

// The window stands with its frame at the screen's top-left corner, its
// title bar on the screen, whatever the program's first statement sizes.
TEST_F(WindowManagerTest, SizingAtOnceDoesNotMoveTheWindow) {
  const std::pair<const char*, const char*> programs[] = {
      {"screen.vell", "SCREEN(300, 200)"},
      {"hidden.vell", "DISPPROGRAM(0)"},
      {"width.vell", "MainForm.WIDTH = 400"},
  };
  for (const auto& [name, statement] : programs) {
    const Window main = RunProgram(name, statement);
    ASSERT_NE(main, 0u) << name;
    const Place place = PlaceOf(main);
    EXPECT_EQ(place.frameX, 0) << name;
    EXPECT_EQ(place.frameY, 0) << name;
    EXPECT_GT(place.clientY, 0) << name << ": the title bar is off the screen";
  }
}

// "/v": the window stays minimised while the program hides the program area
// and sizes the output area.
TEST_F(WindowManagerTest, SizingKeepsAMinimisedWindowMinimised) {
  const Window main = RunProgram("minimised.vell", "DISPPROGRAM(0)\nSCREEN(300, 100)", "/v");
  ASSERT_NE(main, 0u);
  EXPECT_EQ(WmState(main), IconicState);
}

}  // namespace
}  // namespace vell
