#include "app/folder_picker.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace lkit {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 12;

// Indents each row by its depth. The indent is drawn rather than typed into
// the text, so the list's type-ahead finds a folder by its name.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem indented = option;
    indented.rect.adjust(indentOf(index), 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return QSize(size.width() + indentOf(index), size.height());
  }

 private:
  static int indentOf(const QModelIndex& index) {
    return index.data(kDepthRole).toInt() * kIndentPixels;
  }
};

}  // namespace

FolderPicker::FolderPicker(QWidget* parent) : QWidget(parent) {
  field_ = new QLineEdit(this);
  field_->setPlaceholderText(QStringLiteral("Type or paste a folder, then press Enter"));
  field_->setToolTip(QStringLiteral("Type or paste a folder, then press Enter"));
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setItemDelegate(new IndentDelegate(list_));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(field_);
  layout->addWidget(list_, 1);
  setFocusProxy(list_);
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { setPath(item->data(kPathRole).toString()); });
  connect(field_, &QLineEdit::returnPressed, this, &FolderPicker::pathTyped);
  connect(field_, &QLineEdit::textEdited, this, [this] { field_->setPalette(QPalette()); });
}

bool FolderPicker::setPath(const QString& folder) {
  if (folder.isEmpty()) return false;
  QFileInfo info(folder);
  if (!info.isDir()) return false;
  path_ = QDir::cleanPath(info.absoluteFilePath());
  field_->setText(QDir::toNativeSeparators(path_));
  field_->setPalette(QPalette());
  fill();
  emit pathChanged(path_);
  return true;
}

void FolderPicker::pathTyped() {
  QString typed = field_->text().trimmed();
  if (typed == QStringLiteral("~") || typed.startsWith(QStringLiteral("~/"))) {
    typed.replace(0, 1, QDir::homePath());
  }
  if (setPath(QDir::fromNativeSeparators(typed))) {
    list_->setFocus();
    return;
  }
  // Not a folder: the text stays for mending, marked until it is edited.
  QPalette marked = field_->palette();
  marked.setColor(QPalette::Text, Qt::red);
  field_->setPalette(marked);
  QApplication::beep();
}

void FolderPicker::fill() {
  list_->clear();
  // The chain from the root down to the current folder, indented by depth.
  QStringList chain;
  for (QDir dir(path_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  int depth = 0;
  auto add = [this](const QString& name, const QString& folder, int level) {
    auto* item = new QListWidgetItem(name, list_);
    item->setData(kPathRole, folder);
    item->setData(kDepthRole, level);
    item->setToolTip(folder);
    return item;
  };
  for (const QString& folder : chain) {
    QListWidgetItem* item = add(depth == 0 ? folder : QFileInfo(folder).fileName(), folder, depth);
    if (folder == path_) list_->setCurrentItem(item);
    ++depth;
  }
  QDir current(path_);
  const QStringList subfolders =
      current.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  for (const QString& name : subfolders) add(name, current.absoluteFilePath(name), depth);
}

}  // namespace lkit
