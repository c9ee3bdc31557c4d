#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;

namespace lkit {

// The folder picker: a field that shows the current folder and takes a
// typed or pasted path (Enter moves there), above a list of the chain of
// folders from the root down to the current one, indented by depth, then the
// current folder's subfolders. A double-click (or Enter) on a row makes it
// the current folder; typing a name's first letters in the list finds it.
class FolderPicker : public QWidget {
  Q_OBJECT

 public:
  explicit FolderPicker(QWidget* parent = nullptr);

  // The current folder: absolute, no trailing separator except for the root.
  QString path() const { return path_; }

  // Moves to `folder` (the folder's list is read again even when it is the
  // current one, and pathChanged is sent); false, and nothing changes, when
  // it is not a folder.
  bool setPath(const QString& folder);

  QLineEdit* pathField() const { return field_; }
  QListWidget* folderList() const { return list_; }

 signals:
  void pathChanged(const QString& path);

 private:
  void fill();
  void pathTyped();

  QString path_;
  QLineEdit* field_;
  QListWidget* list_;
};

}  // namespace lkit
