#pragma once
// The one dialog every option record is edited with, laid out from its
// description: check boxes, a group of radio buttons per choice, an edit per
// number (checked on OK with the framework's messages) and an edit with a
// Browse button per text. The record changes only when OK is accepted.

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "app/user_interface.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace corvina::window {

class OptionDialogWidget : public QDialog {
 public:
  // `browse` answers a text field's Browse button (a file dialog); `warn`
  // shows a validation message. Both are the window's user interface.
  OptionDialogWidget(OptionDialog& dialog, QWidget* parent,
                     std::function<std::optional<std::string>(const FileRequest&)> browse,
                     std::function<void(const std::string&)> warn);

  // Checks every edit and, when all fit, writes the record and closes with OK.
  // A field that does not fit shows its message, takes the focus and keeps
  // the dialog open.
  void accept() override;

  // The edit of a field by its record name (for tests), or nullptr.
  QLineEdit* editNamed(const std::string& name) const;

 private:
  struct Control {
    OptionField* field = nullptr;
    QCheckBox* check = nullptr;
    QButtonGroup* choice = nullptr;
    QLineEdit* edit = nullptr;  // numbers and texts
  };
  std::vector<Control> controls_;
  std::function<void(const std::string&)> warn_;
};

}  // namespace corvina::window
