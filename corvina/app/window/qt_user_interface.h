#pragma once
// The user as the window meets them: message boxes, file dialogs, the option
// dialog, a progress bar in the status bar's first pane and the busy cursor.
// A command the window runs shows a busy bar and the busy cursor for as long
// as it works; the bars the work steps itself take the busy bar's place, and
// every dialog puts both away while it is open.

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
  void showKeyList(const std::string& caption, const std::string& text) override;
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

  // Around a command run from the window (menu, key, dropped file): the busy
  // bar and the busy cursor show from beginCommand to endCommand, except
  // while a dialog is open. Calls nest.
  void beginCommand();
  void endCommand();

 private:
  // Every dialog runs between these two: the bar and the busy cursor make
  // way for it, and once it has closed the window is repainted where it was,
  // since the work that follows does not return to the event loop.
  void beforeDialog();
  void afterDialog();
  template <typename Run>
  auto inDialog(Run run) {
    beforeDialog();
    auto result = run();
    afterDialog();
    return result;
  }

  // Paints the whole window and shows it before returning.
  void repaintNow();
  // Puts a bar of `range` steps (0: a busy bar) in the first pane's place and
  // paints it now; removeBar gives the pane back its text.
  void showBar(int range);
  void removeBar();
  // The status bar's first pane text ("Ready", object name "firstPane").
  void setFirstPaneTextVisible(bool visible);

  QMainWindow& mainWindow_;
  std::function<void()> refresh_;
  QPointer<QProgressBar> progress_;
  int progressValue_ = 0;
  qint64 progressShown_ = 0;
  int busyDepth_ = 0;
  int commandDepth_ = 0;
  int dialogDepth_ = 0;
  bool arrowPushed_ = false;  // the dialogs' arrow over the busy cursor
};

// A key list (UserInterface::showKeyList) as a table: a heading row from its
// first line, then each section's heading across both columns and its keys,
// in a fixed-width font, beside what they do.
QString keyListHtml(const std::string& text);

// The filter line of a file dialog for a (label, pattern) pair: "*.*" means
// every file, as it does on the system these dialogs come from.
QString fileDialogFilter(const std::string& label, const std::string& pattern);

}  // namespace corvina::window
