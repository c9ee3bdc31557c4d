#include "app/window/view_input.h"

#include <QString>

namespace corvina::window {

namespace {

ViewKey viewKeyOf(int key) {
  switch (key) {
    case Qt::Key_Clear:
      return ViewKey::Clear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return ViewKey::Enter;
    case Qt::Key_Escape:
      return ViewKey::Escape;
    case Qt::Key_Home:
      return ViewKey::Home;
    case Qt::Key_End:
      return ViewKey::End;
    case Qt::Key_PageUp:
      return ViewKey::PageUp;
    case Qt::Key_PageDown:
      return ViewKey::PageDown;
    case Qt::Key_Left:
      return ViewKey::Left;
    case Qt::Key_Right:
      return ViewKey::Right;
    case Qt::Key_Up:
      return ViewKey::Up;
    case Qt::Key_Down:
      return ViewKey::Down;
    case Qt::Key_Insert:
      return ViewKey::Insert;
    case Qt::Key_Space:
      return ViewKey::Space;
    default:
      return ViewKey::Other;
  }
}

}  // namespace

ViewKeyPress viewKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  ViewKeyPress press;
  press.key = viewKeyOf(key);
  press.keypad = modifiers.testFlag(Qt::KeypadModifier);
  press.shift = modifiers.testFlag(Qt::ShiftModifier);
  if (press.key == ViewKey::Other && text.size() == 1) {
    const char16_t c = text.at(0).unicode();
    if (c > 0x20 && c < 0x7F) press.text = static_cast<char>(c);
  }
  return press;
}

Qt::CursorShape cursorShape(ViewCursor cursor) {
  switch (cursor) {
    case ViewCursor::SizeNwSe:
      return Qt::SizeFDiagCursor;
    case ViewCursor::SizeNeSw:
      return Qt::SizeBDiagCursor;
    case ViewCursor::SizeNs:
      return Qt::SizeVerCursor;
    case ViewCursor::SizeWe:
      return Qt::SizeHorCursor;
    case ViewCursor::Move:
      return Qt::SizeAllCursor;
    case ViewCursor::OpenHand:
      return Qt::OpenHandCursor;
    case ViewCursor::ClosedHand:
      return Qt::ClosedHandCursor;
    case ViewCursor::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

std::optional<ViewButton> viewButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return ViewButton::Left;
    case Qt::RightButton:
      return ViewButton::Right;
    case Qt::MiddleButton:
      return ViewButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace corvina::window
