#pragma once
// CMainFrame: the main window "Corvina". Its menus and accelerators come from
// the command rows; one function refreshes every entry's enabled and checked
// state (before a menu shows and after every command). The status bar shows
// "Ready" or the highlighted entry's text, the lock indicators and, during
// long work, a progress bar. Files dropped on it are opened in turn.

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "app/application_state.h"
#include "app/canvas/picture_canvas.h"
#include "app/command_row.h"
#include "app/window/corvina_view.h"
#include "app/window/edit_history_glue.h"
#include "app/window/lock_indicators.h"
#include "app/window/preview_dock.h"
#include "app/window/profile.h"
#include "app/window/qt_user_interface.h"
#include "editor/selection_editor.h"

class QAction;
class QLabel;

namespace corvina::window {

class CMainFrame : public QMainWindow {
 public:
  // `readLocks` asks the platform for the keyboard's lock states (the
  // CAP, NUM and SCRL panes); tests give their own.
  CMainFrame(ApplicationState& app, Profile& profile,
             std::function<LockReading()> readLocks = readLockStates);
  ~CMainFrame() override;

  CorvinaView& view() { return *view_; }
  PreviewDock& previewDock() { return *preview_; }
  canvas::PictureCanvas& canvas() { return canvas_; }
  UserInterface& userInterface() { return *ui_; }

  // Runs a numbered command as its menu entry or key would.
  void runCommandNumber(int id);

  // Opens a model file through the document (command line, dropped files).
  bool openModelFile(const QString& path);

  // Sets every entry's enabled state and check mark from the rows' rules.
  void updateCommandStates();

  // The action of a command number (for tests), or nullptr.
  QAction* actionFor(int id) const;
  // The action of a Tools menu entry (for tests), or nullptr.
  QAction* toolsActionFor(const CommandRow& row) const;

  // Runs a Tools menu entry as choosing it does.
  void runToolsEntry(const CommandRow& row);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The last size and place from the profile, or on a first start a size
  // that shows the menu bar and the status panes whole.
  void placeWindow();
  void buildMenus();
  void buildStatusBar();
  void lockKeyPressed(int key);
  void readLockIndicators();
  void showLockIndicators();
  // The density pane: the texel density of the selection and of the model
  // while the stretch view is on, hidden otherwise.
  void showTexelDensity();
  bool handledByWindow(int id) const;
  void togglePreview();
  // After the model, the selection or the background changed.
  void refreshViews();

  ApplicationState& app_;
  Profile& profile_;
  canvas::PictureCanvas canvas_;
  CorvinaView* view_ = nullptr;
  PreviewDock* preview_ = nullptr;
  std::unique_ptr<QtUserInterface> ui_;
  std::map<int, QAction*> actions_;
  EditHistoryGlue* history_ = nullptr;
  std::vector<std::pair<const CommandRow*, QAction*>> toolsActions_;
  QLabel* capIndicator_ = nullptr;
  QLabel* numIndicator_ = nullptr;
  QLabel* scrollIndicator_ = nullptr;
  QLabel* densityPane_ = nullptr;
  std::function<LockReading()> readLocks_;
  LockStates locks_;
  bool released_ = false;
};

}  // namespace corvina::window
