#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "core/configuration.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lkit {

class FolderPicker;
class UserPrompts;

// The configuration window: categories, excluded folders, the two options,
// Load and Save. Created once by the main window, then only shown and
// hidden: the search and the writer read its lists.
class ConfigForm : public QWidget {
  Q_OBJECT

 public:
  // `projectName` and `baseFolder` are the main window's controls that Load
  // fills and Save reads.
  ConfigForm(SharedFlags& flags, UserPrompts& prompts, std::string configPath,
             QLineEdit* projectName, FolderPicker* baseFolder);

  // The settings as the controls hold them now, saved or not.
  std::vector<Category> categories() const;
  std::vector<ExcludedFolder> excludedFolders() const;
  bool autoOrganize() const;
  bool filesBeforeFolders() const;
  const std::string& configPath() const { return configPath_; }

  void cmdLoadSettings_Click();
  // Saves the settings; a failed write is reported (file and reason) and
  // leaves the changed flag as it was. Returns whether the file was written.
  bool cmdSaveSettings_Click();
  void cmdAddCat_Click();
  void cmdRemCat_Click();
  void cmdAddFolder_Click();
  void cmdRemoveFolder_Click();
  void cmdUp_Click();
  void cmdDown_Click();

  QGroupBox* frmOrg;
  QListWidget* lstDescrip;
  QListWidget* lstType;
  QPushButton* cmdAddCat;
  QPushButton* cmdRemCat;
  QGroupBox* Frame3;
  QListWidget* lstExclude;
  QPushButton* cmdAddFolder;
  QPushButton* cmdRemoveFolder;
  QPushButton* cmdSaveSettings;
  QPushButton* cmdLoadSettings;
  QCheckBox* chkAutoOrg;
  QCheckBox* chkSort;
  QPushButton* cmdExit;
  QPushButton* cmdUp;
  QPushButton* cmdDown;

 private:
  void chkAutoOrg_Click();
  void chkSort_Click();
  void applyAutoOrganize();
  void addCheckedRow(QListWidget* list, const QString& text, bool checked);
  void swapCategoryRows(int from, int to);
  int selectedCategoryRow() const;
  // The type typed for a new category as the search compares it, or empty
  // (after telling the user why) when no file name could ever match it.
  std::optional<QString> usableType(const QString& typed);

  SharedFlags& flags_;
  UserPrompts& prompts_;
  std::string configPath_;
  QLineEdit* projectName_;
  FolderPicker* baseFolder_;
};

}  // namespace lkit
