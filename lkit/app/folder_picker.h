#pragma once

#include <QListWidget>
#include <QString>

namespace lkit {

// The folder picker: the chain of folders from the root down to the current
// one, then the current folder's subfolders. A double-click (or Enter) on a
// row makes it the current folder.
class FolderPicker : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderPicker(QWidget* parent = nullptr);

  // The current folder: absolute, no trailing separator except for the root.
  QString path() const { return path_; }

  // Moves to `folder`; false (and nothing changes) when it is not a folder.
  bool setPath(const QString& folder);

 signals:
  void pathChanged(const QString& path);

 private:
  void fill();

  QString path_;
};

}  // namespace lkit
