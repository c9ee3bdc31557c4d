#include "app/window/lock_indicators.h"

#include <QGuiApplication>

#ifdef CORVINA_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace corvina::window {

LockStates afterLockKey(LockStates states, LockKey key) {
  switch (key) {
    case LockKey::Caps:
      states.caps = !states.caps;
      break;
    case LockKey::Num:
      states.num = !states.num;
      break;
    case LockKey::Scroll:
      states.scroll = !states.scroll;
      break;
  }
  return states;
}

LockStates afterReading(LockStates last, const LockReading& reading) {
  return {reading.caps.value_or(last.caps), reading.num.value_or(last.num),
          reading.scroll.value_or(last.scroll)};
}

#ifdef CORVINA_HAVE_X11
namespace {

std::optional<bool> namedIndicator(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);  // only when the server knows the name
  if (atom == None) return std::nullopt;
  int index = 0;
  Bool on = False;
  if (!XkbGetNamedIndicator(display, atom, &index, &on, nullptr, nullptr)) return std::nullopt;
  return on != False;
}

}  // namespace
#endif

LockReading readLockStates() {
#ifdef CORVINA_HAVE_X11
  auto* application = qGuiApp;
  if (application == nullptr) return {};
  auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return {};
  Display* display = x11->display();
  return {namedIndicator(display, "Caps Lock"), namedIndicator(display, "Num Lock"),
          namedIndicator(display, "Scroll Lock")};
#else
  return {};
#endif
}

}  // namespace corvina::window
