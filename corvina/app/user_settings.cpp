#include "app/user_settings.h"

#include <cmath>

#include "app/option_text.h"

namespace corvina {

namespace {

// The caption the dialog's own validation messages carry: the program's title.
constexpr const char* kValidationCaption = "Corvina";

}  // namespace

OptionDialog userSettingsDialog(UserSettings& settings) {
  OptionField field;
  field.name = "pixelsPerUnit";
  field.label = "Pixels per Unit";
  field.kind = OptionField::Kind::Float;
  field.floatValue = &settings.pixelsPerUnit;
  field.minimum = kMinPixelsPerUnit;
  field.maximum = kMaxPixelsPerUnit;
  OptionField undo;
  undo.name = "undoMemory";
  undo.label = "Undo Memory (MB)";
  undo.kind = OptionField::Kind::Int;
  undo.intValue = &settings.undoMegabytes;
  undo.minimum = 0;
  undo.maximum = kMaxUndoMegabytes;
  return OptionDialog{"User Settings", {field, undo}};
}

void editUserSettings(ModelStore& store, UserSettings& settings, UserInterface& ui) {
  // The dialog edits a copy, so neither a Cancel nor a rejected value ever
  // reaches the record. It shows the value in force: a loaded model may have
  // brought its own. The record itself only ever holds confirmed values, so
  // it stands in if the store's value is unusable, and a user who confirms
  // without typing always confirms something valid.
  UserSettings edited = settings;
  OptionDialog dialog = userSettingsDialog(edited);
  if (fieldRangeHolds(dialog.fields[0], store.pixelsPerUnit))
    edited.pixelsPerUnit = store.pixelsPerUnit;
  for (;;) {
    if (!ui.editOptions(dialog)) return;
    float value = edited.pixelsPerUnit;
    if (std::isnan(value)) {
      ui.showMessage(kValidationCaption, "Please enter a number.", MessageIcon::Warning);
    } else if (!fieldRangeHolds(dialog.fields[0], value)) {
      ui.showMessage(kValidationCaption,
                     "Please enter a number between " + floatText(kMinPixelsPerUnit) + " and " +
                         floatText(kMaxPixelsPerUnit) + ".",
                     MessageIcon::Warning);
    } else {
      break;
    }
  }
  settings = edited;
  store.pixelsPerUnit = settings.pixelsPerUnit;
}

}  // namespace corvina
