#include "app/window/choice_dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace corvina::window {

namespace {

QDialogButtonBox* okCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

std::optional<std::vector<int>> runListDialog(const ListRequest& request, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromStdString(request.caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setSelectionMode(request.multiple ? QAbstractItemView::ExtendedSelection
                                          : QAbstractItemView::SingleSelection);
  for (const std::string& item : request.items) list->addItem(QString::fromStdString(item));
  // The top item is chosen from the start, so OK at once takes it.
  if (list->count() > 0) list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  layout->addWidget(list);
  layout->addWidget(okCancel(dialog));
  dialog.resize(300, 320);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<int> chosen;
  for (const QModelIndex& index : list->selectionModel()->selectedRows())
    chosen.push_back(index.row());
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

std::optional<std::string> runNameDialog(const NameRequest& request, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromStdString(request.caption));
  auto* layout = new QVBoxLayout(&dialog);
  if (!request.label.empty())
    layout->addWidget(new QLabel(QString::fromStdString(request.label), &dialog));
  auto* combo = new QComboBox(&dialog);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMinimumWidth(260);
  for (const std::string& item : request.items) combo->addItem(QString::fromStdString(item));
  combo->setEditText(QString::fromStdString(request.initial));
  layout->addWidget(combo);
  layout->addWidget(okCancel(dialog));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return combo->currentText().toStdString();
}

}  // namespace corvina::window
