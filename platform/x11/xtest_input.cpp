#include "platform/x11/xtest_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "platform/x11/keysym_table.h"

namespace vell::x11 {

struct XTestInput::Connection {
  Display* display = nullptr;
};

XTestInput::XTestInput(std::string displayName) : displayName_(std::move(displayName)) {}

XTestInput::~XTestInput() {
  if (connection_ != nullptr) {
    XCloseDisplay(connection_->display);
    delete connection_;
  }
}

XTestInput::Connection* XTestInput::Open() {
  if (tried_) return connection_;
  tried_ = true;
  Display* display = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
  if (display == nullptr) return nullptr;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
    XCloseDisplay(display);
    return nullptr;
  }
  connection_ = new Connection{display};
  return connection_;
}

bool XTestInput::Available() { return Open() != nullptr; }

input::ScreenSize XTestInput::PrimaryScreenSize() {
  Connection* c = Open();
  if (c == nullptr) return {};
  const int screen = DefaultScreen(c->display);
  return {DisplayWidth(c->display, screen), DisplayHeight(c->display, screen)};
}

void XTestInput::Key(int virtualKey, bool down) {
  Connection* c = Open();
  if (c == nullptr) return;
  const uint32_t keysym = KeysymForVirtualKey(virtualKey);
  if (keysym == 0) return;
  const KeyCode code = XKeysymToKeycode(c->display, keysym);
  if (code == 0) return;  // no key of the keyboard map gives it
  XTestFakeKeyEvent(c->display, code, down ? True : False, CurrentTime);
  XSync(c->display, False);
}

void XTestInput::MoveAbsolute(int64_t x, int64_t y) {
  Connection* c = Open();
  if (c == nullptr) return;
  const int screen = DefaultScreen(c->display);
  const int64_t px = input::PixelFromAbsolute(x, DisplayWidth(c->display, screen));
  const int64_t py = input::PixelFromAbsolute(y, DisplayHeight(c->display, screen));
  XTestFakeMotionEvent(c->display, screen, static_cast<int>(px), static_cast<int>(py),
                       CurrentTime);
  XSync(c->display, False);
}

void XTestInput::Button(input::MouseButton button, bool down) {
  Connection* c = Open();
  if (c == nullptr) return;
  unsigned int number = Button1;
  if (button == input::MouseButton::Right) number = Button3;
  if (button == input::MouseButton::Middle) number = Button2;
  XTestFakeButtonEvent(c->display, number, down ? True : False, CurrentTime);
  XSync(c->display, False);
}

}  // namespace vell::x11
