#pragma once
// The user as the window meets them: message boxes, file dialogs, the option
// dialog, a progress bar in the status bar's first pane and the busy cursor.

#include <QPointer>
#include <QProgressBar>
#include <functional>

#include "app/user_interface.h"

class QMainWindow;

namespace corvina::window {

class QtUserInterface : public UserInterface {
 public:
  // Dialogs are modal over `mainWindow`; `refresh` redraws the view.
  QtUserInterface(QMainWindow& mainWindow, std::function<void()> refresh)
      : mainWindow_(mainWindow), refresh_(std::move(refresh)) {}

  void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
  Answer ask(const std::string& caption, const std::string& text, MessageIcon icon,
             QuestionButtons buttons, Answer unattended) override;
  std::optional<std::string> chooseFile(const FileRequest& request) override;
  bool editOptions(OptionDialog& dialog) override;
  std::optional<std::vector<int>> chooseFromList(const ListRequest& request) override;
  std::optional<std::string> chooseName(const NameRequest& request) override;
  void beginProgress(int range) override;
  void stepProgress() override;
  void endProgress() override;
  void setBusy(bool busy) override;
  void refreshViews() override;

 private:
  // The status bar's first pane text ("Ready", object name "firstPane").
  void setFirstPaneTextVisible(bool visible);

  QMainWindow& mainWindow_;
  std::function<void()> refresh_;
  QPointer<QProgressBar> progress_;
  int progressValue_ = 0;
  qint64 progressShown_ = 0;
  int busyDepth_ = 0;
};

// The filter line of a file dialog for a (label, pattern) pair: "*.*" means
// every file, as it does on the system these dialogs come from.
QString fileDialogFilter(const std::string& label, const std::string& pattern);

}  // namespace corvina::window
