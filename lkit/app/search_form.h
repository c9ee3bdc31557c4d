#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/shared_state.h"
#include "app/user_prompts.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;

namespace lkit {

class ConfigForm;
class ElidedLabel;
class FolderPicker;
class FolderSearch;
class FormCanvas;
class frmAbout;

// The main window: base folder, project name, the Start/Abort job and the
// results. It creates the configuration window at start-up and keeps it.
class SearchForm : public QMainWindow {
  Q_OBJECT

 public:
  // `prompts` may be null for the dialogs; it must outlive the window.
  SearchForm(std::string configPath, UserPrompts* prompts = nullptr);
  ~SearchForm() override;

  // The pause after writing (4000 ms, events processed meanwhile); tests
  // replace it so they do not wait.
  void setPause(std::function<void(int)> pause) { pause_ = std::move(pause); }

  // Fills the drive picker with these volume roots (the mounted volumes at
  // start-up); the current entry is the volume of the folder picker's folder.
  void setDrives(const QStringList& roots);

  ConfigForm* configForm() const { return config_; }
  frmAbout* aboutForm();
  SharedFlags& flags() { return flags_; }
  bool jobRunning() const { return jobRunning_; }

  void cmdStartAbort_Click();
  void cmdExit_Click();
  void mnuExit_Click();
  void mnuAbout_Click();
  void FindFilesResults_DblClick();
  // Sets the copy item's caption and enablement for the current selection.
  void preparePopupMenu();
  void mnuCopy_Click();

  QLabel* Label1;
  ElidedLabel* lblBaseDir;
  QComboBox* Drive1;
  FolderPicker* Dir1;
  QLabel* Label2;
  QLineEdit* lblProjectName;
  QPushButton* cmdStartAbort;
  QPushButton* cmdConfig;
  QPushButton* cmdExit;
  QListWidget* FindFilesResults;
  QListWidget* lstGroup;
  QListWidget* lstDirs;
  QListWidget* FindFilesTmpResults;
  QListWidget* FindFilesTmpDirs;
  QLabel* lblResultsHeading;
  QLabel* lblGroupsHeading;
  QLabel* lblDirsHeading;
  // The last job's outcome, in the status bar: files kept, groups, where the
  // project file went, and any limit or failure met, one line each.
  QLabel* lblOutcome;
  QMenu* popmenu;
  QAction* mnuCopy;
  QAction* mnuCancelPopup;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  // Places the visible lists for the client area's new size.
  void placeLists(QSize clientArea);
  // From the first job on, the window shows the lists: it grows to show them
  // (as far as the screen allows) and scrolls when made smaller.
  void revealLists();
  void Drive1_Change(int index);
  // After a search: writes the project file unless the program is closing,
  // then reports the outcome.
  void writeAndReport(const std::string& base, FolderSearch& search);
  void baseFolderChanged(const QString& path);
  void setButtonIdle();
  void processEventsNow();
  void endProgram();

  FormCanvas* canvas_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  SharedFlags flags_;
  std::unique_ptr<UserPrompts> ownPrompts_;
  UserPrompts* prompts_;
  ConfigForm* config_ = nullptr;
  frmAbout* about_ = nullptr;
  std::function<void(int)> pause_;
  bool jobRunning_ = false;
  bool startWanted_ = false;  // Start was pressed while the last job finished
  QString shownFolder_;       // the folder picker's folder, for the name proposal
  bool closing_ = false;
  qint64 lastEventsMs_ = -1;
};

}  // namespace lkit
