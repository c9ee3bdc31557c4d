#include "app/window/edit_history_glue.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "app/history_recording.h"
#include "app/window/view_input.h"

namespace corvina::window {

namespace {

QMenu* editMenuOf(QMainWindow& frame) {
  for (QAction* action : frame.menuBar()->actions())
    if (action->text() == QStringLiteral("&Edit")) return action->menu();
  return nullptr;
}

// "&Undo Box Mapping\tCtrl+Z", or "&Undo\tCtrl+Z" without a step.
QString entryText(const char* verb, const std::string& stepName, const char* key) {
  QString text = QStringLiteral("&") + QString::fromLatin1(verb);
  // The step name starts with the verb ("Undo Box Mapping").
  if (!stepName.empty()) text = QStringLiteral("&") + QString::fromStdString(stepName);
  return text + QStringLiteral("\t") + QString::fromLatin1(key);
}

}  // namespace

EditHistoryGlue::EditHistoryGlue(QMainWindow& frame, ApplicationState& app, QWidget& view,
                                 QAction* undo, QAction* redo)
    : QObject(&frame), frame_(frame), app_(app), undo_(undo), redo_(redo) {
  if (QMenu* edit = editMenuOf(frame); edit != nullptr && undo_ != nullptr && redo_ != nullptr) {
    QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
    edit->insertAction(first, undo_);
    edit->insertAction(first, redo_);
    edit->insertSeparator(first);
  }
  view.installEventFilter(this);
}

void EditHistoryGlue::beginViewStep(unsigned parts, const std::string& name, bool collates) {
  endViewStep();
  beginUserAction(app_, parts, name, collates);
  viewStepOpen_ = true;
}

void EditHistoryGlue::endViewStep() {
  if (!viewStepOpen_) return;
  viewStepOpen_ = false;
  endUserAction(app_);
}

bool EditHistoryGlue::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const ViewAction action =
        viewKeyAction(keyActionOf(viewKeyPress(key->key(), key->modifiers(), key->text())));
    if (action.recorded) beginViewStep(action.parts, action.name, action.collates);
  } else if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
      const ViewAction action = viewPressAction(app_, mouse->button() == Qt::LeftButton);
      beginViewStep(action.parts, action.name, action.collates);
    }
  }
  return false;
}

void EditHistoryGlue::refresh() {
  if (viewStepOpen_ && !app_.editor.dragging()) endViewStep();
  if (undo_ != nullptr) undo_->setText(entryText("Undo", undoStepName(app_), "Ctrl+Z"));
  if (redo_ != nullptr) redo_->setText(entryText("Redo", redoStepName(app_), "Shift+Ctrl+Z"));
  const std::string name = modelDisplayName(app_);
  frame_.setWindowTitle(name.empty()
                            ? QStringLiteral("Corvina")
                            : QString::fromStdString(name) + QStringLiteral("[*] - Corvina"));
  frame_.setWindowModified(hasUnsavedChanges(app_));
}

}  // namespace corvina::window
