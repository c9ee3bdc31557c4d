#include "app/dialogs/normal_smoothing_dialog.h"

namespace corvina {

OptionDialog smoothingOptionsDialog(SmoothingOptions& options) {
  OptionDialog dialog;
  dialog.caption = "Smooth Model";
  OptionField angle;
  angle.name = "angle";
  angle.label = "Smoothing Angle";
  angle.kind = OptionField::Kind::Float;
  angle.floatValue = &options.angle;
  angle.minimum = 0;
  angle.maximum = 180;
  dialog.fields.push_back(angle);
  OptionField scope;
  scope.name = "scope";
  scope.label = "Settings";
  scope.kind = OptionField::Kind::Choice;
  scope.intValue = &options.scope;
  scope.choices = {"all", "group", "material", "region"};
  scope.choiceLabels = {"Using all facets", "Smooth by Group", "Smooth by Material",
                        "Smooth by Region"};
  dialog.fields.push_back(scope);
  return dialog;
}

}  // namespace corvina
