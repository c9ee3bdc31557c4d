#pragma once
// The "User Settings" dialog: how many texture-map pixels stand for one model
// unit. The record lives for the whole run; the value it confirms becomes the
// model's pixelsPerUnit, which then travels with the model in its files.

#include "app/user_interface.h"
#include "model/model_store.h"

namespace corvina {

constexpr float kMinPixelsPerUnit = 1.0f;
constexpr float kMaxPixelsPerUnit = 10000.0f;

constexpr int kMaxUndoMegabytes = 1 << 20;

struct UserSettings {
  float pixelsPerUnit = 50.0f;
  // The memory the edit history may hold, in megabytes (0: no history).
  int undoMegabytes = 512;
};

// The dialog over `settings` (a Float field, "pixelsPerUnit", 1..10000, and an
// Int field, "undoMemory", the history's megabytes). The dialog must not
// outlive `settings`.
OptionDialog userSettingsDialog(UserSettings& settings);

// The Settings command: shows the dialog starting from the model's current
// pixelsPerUnit; a confirmed value that is not a number or lies outside
// 1..10000 is answered with the dialog's range message and the dialog opens
// again, until the value is valid or the user cancels. On OK the value goes
// to `settings` and to the store; Cancel changes neither.
void editUserSettings(ModelStore& store, UserSettings& settings, UserInterface& ui);

}  // namespace corvina
