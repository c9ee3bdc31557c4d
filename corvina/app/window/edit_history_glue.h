#pragma once
// The edit history as the main window shows and feeds it: Undo and Redo at
// the top of the Edit menu, named for their step ("&Undo Box Mapping\tCtrl+Z")
// and enabled while there is one; the window title with the model's name
// and a mark while it has unsaved changes; and each key press or button
// press in the view, up to its release, recorded as one step.

#include <QObject>

#include "app/application_state.h"

class QAction;
class QMainWindow;
class QWidget;

namespace corvina::window {

class EditHistoryGlue : public QObject {
 public:
  // Watches `view`'s input; puts `undo` and `redo` at the top of the Edit
  // menu of `frame`. Everything must outlive the glue.
  EditHistoryGlue(QMainWindow& frame, ApplicationState& app, QWidget& view, QAction* undo,
                  QAction* redo);

  // Ends the view's step once no drag lasts, then shows the entries' names
  // and the title. Called whenever the window refreshes its entries.
  void refresh();

  // Ends the view's step now (before a command runs).
  void endViewStep();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void beginViewStep(unsigned parts, const std::string& name, bool collates);

  QMainWindow& frame_;
  ApplicationState& app_;
  QAction* undo_;
  QAction* redo_;
  bool viewStepOpen_ = false;
};

}  // namespace corvina::window
