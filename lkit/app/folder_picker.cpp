#include "app/folder_picker.h"

#include <QDir>
#include <QFileInfo>

namespace lkit {

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderPicker::FolderPicker(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { setPath(item->data(kPathRole).toString()); });
}

bool FolderPicker::setPath(const QString& folder) {
  if (folder.isEmpty()) return false;
  QFileInfo info(folder);
  if (!info.isDir()) return false;
  QString cleaned = QDir::cleanPath(info.absoluteFilePath());
  if (cleaned == path_) return true;
  path_ = cleaned;
  fill();
  emit pathChanged(path_);
  return true;
}

void FolderPicker::fill() {
  clear();
  // The chain from the root down to the current folder, indented by depth.
  QStringList chain;
  for (QDir dir(path_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  int depth = 0;
  for (const QString& folder : chain) {
    QString name = depth == 0 ? folder : QFileInfo(folder).fileName();
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(kPathRole, folder);
    if (folder == path_) setCurrentItem(item);
    ++depth;
  }
  QDir current(path_);
  const QStringList subfolders =
      current.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  for (const QString& name : subfolders) {
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(kPathRole, current.absoluteFilePath(name));
  }
}

}  // namespace lkit
