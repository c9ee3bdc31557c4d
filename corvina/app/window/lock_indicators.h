#pragma once
// The CAP, NUM and SCRL panes of the status bar: what each lock is believed
// to be. The platform is asked where it can tell (at start, when the window
// gets the focus, after a lock key is let go); a lock it cannot report keeps
// its last known state, which a press of its key turns over.

#include <optional>

namespace corvina::window {

enum class LockKey { Caps, Num, Scroll };

struct LockStates {
  bool caps = false, num = false, scroll = false;
  bool operator==(const LockStates&) const = default;
};

// What the platform reported of each lock; nullopt where it cannot tell.
struct LockReading {
  std::optional<bool> caps, num, scroll;
};

// The states after a press of `key`: that lock turns over, the others stay.
LockStates afterLockKey(LockStates states, LockKey key);

// The states after asking the platform: each reported lock as reported, the
// others as last known.
LockStates afterReading(LockStates last, const LockReading& reading);

// Asks the windowing system for the lock states of the keyboard (on X11 the
// XKB indicators named "Caps Lock", "Num Lock" and "Scroll Lock"). Every
// field is nullopt on a platform that does not tell, such as the offscreen
// one. Needs the application object.
LockReading readLockStates();

}  // namespace corvina::window
