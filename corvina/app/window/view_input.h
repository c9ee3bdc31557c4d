#pragma once
// Qt's key events and cursors in the texture-map editor's own terms.

#include <QCursor>
#include <Qt>

#include <optional>

#include "editor/selection_editor.h"
#include "editor/tracker.h"
#include "editor/view_keys.h"

namespace corvina::window {

// The key press the editor sees for a Qt key, its modifiers and its text.
// Keypad keys keep their keypad flag, so Home with the flag is keypad 7 with
// Num Lock off, and "7" with the flag is keypad 7 with Num Lock on.
ViewKeyPress viewKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text);

Qt::CursorShape cursorShape(ViewCursor cursor);

// The view's buttons: left, right and middle; nothing for the others.
std::optional<ViewButton> viewButton(Qt::MouseButton button);

}  // namespace corvina::window
