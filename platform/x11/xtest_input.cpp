#include "platform/x11/xtest_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>

#include "platform/x11/keysym_table.h"

namespace vell::x11 {

struct XTestInput::Connection {
  Display* display = nullptr;
  bool randr = false;  // the RandR extension, 1.3 or later, tells the monitors apart
};

namespace {

struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};

// The primary monitor's part of the screen: the output marked primary, else
// the monitor at the top left corner, else the first one lit; the whole
// screen when the server cannot tell.
Area PrimaryArea(Display* display, bool randr) {
  const int screen = DefaultScreen(display);
  const Area whole{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  if (!randr) return whole;
  const Window root = RootWindow(display, screen);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return whole;
  auto crtcArea = [&](RRCrtc crtc, Area* area) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
    if (info == nullptr) return false;
    const bool lit = info->mode != None && info->width > 0 && info->height > 0;
    if (lit) {
      *area = {info->x, info->y, static_cast<int>(info->width), static_cast<int>(info->height)};
    }
    XRRFreeCrtcInfo(info);
    return lit;
  };
  Area found;
  bool ok = false;
  if (const RROutput primary = XRRGetOutputPrimary(display, root); primary != None) {
    if (XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary)) {
      if (output->crtc != None) ok = crtcArea(output->crtc, &found);
      XRRFreeOutputInfo(output);
    }
  }
  Area first;
  bool haveFirst = false;
  for (int i = 0; !ok && i < resources->ncrtc; ++i) {
    Area area;
    if (!crtcArea(resources->crtcs[i], &area)) continue;
    if (area.x == 0 && area.y == 0) {
      found = area;
      ok = true;
    } else if (!haveFirst) {
      first = area;
      haveFirst = true;
    }
  }
  XRRFreeScreenResources(resources);
  if (ok) return found;
  return haveFirst ? first : whole;
}

}  // namespace

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
  int randrEvents = 0, randrErrors = 0, randrMajor = 0, randrMinor = 0;
  const bool randr = XRRQueryExtension(display, &randrEvents, &randrErrors) &&
                     XRRQueryVersion(display, &randrMajor, &randrMinor) &&
                     (randrMajor > 1 || (randrMajor == 1 && randrMinor >= 3));
  connection_ = new Connection{display, randr};
  return connection_;
}

bool XTestInput::Available() { return Open() != nullptr; }

input::ScreenSize XTestInput::PrimaryScreenSize() {
  Connection* c = Open();
  if (c == nullptr) return {};
  const Area area = PrimaryArea(c->display, c->randr);
  return {area.width, area.height};
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
  const Area area = PrimaryArea(c->display, c->randr);
  const int64_t px = area.x + input::PixelFromAbsolute(x, area.width);
  const int64_t py = area.y + input::PixelFromAbsolute(y, area.height);
  XTestFakeMotionEvent(c->display, DefaultScreen(c->display), static_cast<int>(px),
                       static_cast<int>(py), CurrentTime);
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
