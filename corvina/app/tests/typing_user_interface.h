#pragma once
// A scripted user who also types into option dialogs: each dialog shown takes
// the next typing step (which changes the dialog's fields as a person would)
// before the queued OK or Cancel decides it.

#include <deque>
#include <functional>

#include "testing/scripted_user_interface.h"

namespace corvina::testing {

class TypingUserInterface : public ScriptedUserInterface {
 public:
  std::deque<std::function<void(OptionDialog&)>> typing;

  bool editOptions(OptionDialog& dialog) override {
    if (!typing.empty()) {
      typing.front()(dialog);
      typing.pop_front();
    }
    return ScriptedUserInterface::editOptions(dialog);
  }
};

// The field called `name` of `dialog`; fails the test when there is none.
inline OptionField& fieldNamed(OptionDialog& dialog, const std::string& name) {
  for (OptionField& field : dialog.fields)
    if (field.name == name) return field;
  throw std::runtime_error("no field " + name + " in " + dialog.caption);
}

}  // namespace corvina::testing
