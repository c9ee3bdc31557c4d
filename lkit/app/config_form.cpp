#include "app/config_form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "app/folder_picker.h"
#include "app/form_canvas.h"
#include "app/project_name.h"
#include "app/twips.h"
#include "app/user_prompts.h"

namespace lkit {

namespace {

constexpr int kCategoryAddLimit = 32;
// Pixels kept between controls that are moved to make room.
constexpr int kControlGap = 6;
const QString kCategoryTitle = QStringLiteral("LKIT Organization Categories");

QPushButton* button(QWidget* parent, const char* caption, QRect place) {
  auto* made = new QPushButton(QString::fromLatin1(caption), parent);
  made->setGeometry(place);
  return made;
}

// Rows of one height in lists that show rows side by side, whether a row
// carries a check box or not.
class RowHeightDelegate : public QStyledItemDelegate {
 public:
  RowHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return QSize(size.width(), height_);
  }

 private:
  int height_;
};

// Tall enough for a line of text and for a check box, with room around.
int rowHeightOf(const QWidget* list) {
  const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list);
  return std::max(list->fontMetrics().height(), indicator) + 6;
}

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

ConfigForm::ConfigForm(SharedFlags& flags, UserPrompts& prompts, std::string configPath,
                       QLineEdit* projectName, FolderPicker* baseFolder)
    : flags_(flags),
      prompts_(prompts),
      configPath_(std::move(configPath)),
      projectName_(projectName),
      baseFolder_(baseFolder) {
  setWindowTitle(kAppTitle);
  resize(twipsSize(7695, 7785));
  // The up and down buttons lie below the first client area: the window
  // scrolls down to them, or shows them when enlarged. The canvas is as wide
  // as the controls, so only the vertical scroll bar appears at first.
  auto* canvas = new FormCanvas();
  canvas->setMinimumSize(twipsSize(7455, 8895 + 240 + 120));
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->addWidget(scrollAreaFor(canvas, this));
  QWidget* client = canvas;

  frmOrg = new QGroupBox(QStringLiteral("Manual Organization Categories"), client);
  frmOrg->setGeometry(twips(240, 120, 3375, 7455));
  lstDescrip = new QListWidget(frmOrg);
  lstDescrip->setGeometry(twips(240, 360, 2175, 6585));
  // The type list starts right of the description list rather than over its
  // edge, so long descriptions and the list's scroll bar stay visible.
  lstType = new QListWidget(frmOrg);
  lstType->setGeometry(twips(2460, 360, 855, 6585));
  cmdAddCat = button(frmOrg, "Add", twips(240, 7000, 975, 375));
  cmdRemCat = button(frmOrg, "Remove", twips(2160, 7000, 975, 375));

  Frame3 = new QGroupBox(QStringLiteral("Exclude these folder names from search"), client);
  Frame3->setGeometry(twips(3840, 120, 3615, 5655));
  lstExclude = new QListWidget(Frame3);
  lstExclude->setGeometry(twips(240, 360, 3135, 4785));
  cmdAddFolder = button(Frame3, "Add", twips(240, 5190, 1095, 375));
  cmdRemoveFolder = button(Frame3, "Remove", twips(2280, 5190, 1095, 375));

  cmdSaveSettings = button(client, "Save", twips(3960, 6000, 1335, 495));
  cmdLoadSettings = button(client, "Load", twips(6000, 6000, 1335, 495));
  chkAutoOrg = new QCheckBox(QStringLiteral("Auto-organize"), client);
  chkAutoOrg->setGeometry(twips(3840, 6720, 2295, 255));
  chkSort = new QCheckBox(QStringLiteral("Files before folders"), client);
  chkSort->setGeometry(twips(3840, 7200, 1695, 255));
  // The placed widths suit the original font; a wider one must not clip the captions.
  for (QCheckBox* box : {chkAutoOrg, chkSort}) {
    box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
  }
  cmdExit = button(client, "Close", twips(5880, 7080, 1575, 495));
  // A caption that needed the room moves the Close button's left edge over;
  // its right edge stays in line with the frame above.
  const int closeLeft = std::max(cmdExit->x(), chkSort->geometry().right() + 1 + kControlGap);
  cmdExit->setGeometry(closeLeft, cmdExit->y(), cmdExit->geometry().right() + 1 - closeLeft,
                       cmdExit->height());
  cmdUp = button(client, "up", twips(4680, 8640, 615, 250));
  cmdDown = button(client, "down", twips(4680, 8895, 615, 240));

  connect(lstDescrip, &QListWidget::currentRowChanged, lstType, [this](int row) {
    if (row >= 0 && row < lstType->count()) lstType->setCurrentRow(row);
  });
  connect(lstType, &QListWidget::currentRowChanged, lstDescrip, [this](int row) {
    if (row >= 0 && row < lstDescrip->count()) lstDescrip->setCurrentRow(row);
  });
  // Row i of one list belongs to row i of the other, so they scroll together;
  // both scroll by whole rows of one height.
  for (QListWidget* list : {lstDescrip, lstType}) {
    list->setItemDelegate(new RowHeightDelegate(rowHeightOf(list), list));
    list->setUniformItemSizes(true);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  }
  connect(lstDescrip->verticalScrollBar(), &QScrollBar::valueChanged, lstType->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(lstType->verticalScrollBar(), &QScrollBar::valueChanged, lstDescrip->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(cmdAddCat, &QPushButton::clicked, this, &ConfigForm::cmdAddCat_Click);
  connect(cmdRemCat, &QPushButton::clicked, this, &ConfigForm::cmdRemCat_Click);
  connect(cmdAddFolder, &QPushButton::clicked, this, &ConfigForm::cmdAddFolder_Click);
  connect(cmdRemoveFolder, &QPushButton::clicked, this, &ConfigForm::cmdRemoveFolder_Click);
  connect(cmdSaveSettings, &QPushButton::clicked, this, &ConfigForm::cmdSaveSettings_Click);
  connect(cmdLoadSettings, &QPushButton::clicked, this, &ConfigForm::cmdLoadSettings_Click);
  connect(cmdUp, &QPushButton::clicked, this, &ConfigForm::cmdUp_Click);
  connect(cmdDown, &QPushButton::clicked, this, &ConfigForm::cmdDown_Click);
  connect(cmdExit, &QPushButton::clicked, this, &QWidget::hide);
  // A change of value runs the click behaviour, also when Load sets the box.
  connect(chkAutoOrg, &QCheckBox::toggled, this, &ConfigForm::chkAutoOrg_Click);
  connect(chkSort, &QCheckBox::toggled, this, &ConfigForm::chkSort_Click);

  applyAutoOrganize();
}

std::vector<Category> ConfigForm::categories() const {
  std::vector<Category> rows;
  for (int i = 0; i < lstDescrip->count(); ++i) {
    QListWidgetItem* item = lstDescrip->item(i);
    QString type = i < lstType->count() ? lstType->item(i)->text() : QString();
    rows.push_back(
        {item->text().toStdString(), type.toStdString(), item->checkState() == Qt::Checked});
  }
  return rows;
}

std::vector<ExcludedFolder> ConfigForm::excludedFolders() const {
  std::vector<ExcludedFolder> rows;
  for (int j = 0; j < lstExclude->count(); ++j) {
    QListWidgetItem* item = lstExclude->item(j);
    rows.push_back({item->text().toStdString(), item->checkState() == Qt::Checked});
  }
  return rows;
}

bool ConfigForm::autoOrganize() const {
  return chkAutoOrg->isChecked();
}
bool ConfigForm::filesBeforeFolders() const {
  return chkSort->isChecked();
}

void ConfigForm::addCheckedRow(QListWidget* list, const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void ConfigForm::cmdLoadSettings_Click() {
  if (flags_.configChanged) {
    Answer answer = prompts_.askYesNoCancel(
        this,
        QStringLiteral(
            "You have made changes to the configuration. Do you want to save them first ?"),
        kAppTitle);
    if (answer == Answer::Cancel) return;
    // Changes that could not be saved are not thrown away by the load.
    if (answer == Answer::Yes && !cmdSaveSettings_Click()) return;
  }
  lstDescrip->clear();
  lstType->clear();
  lstExclude->clear();

  LoadedConfiguration loaded = loadConfiguration(configPath_);
  for (const Category& row : loaded.categories) {
    addCheckedRow(lstDescrip, fromUtf8(row.description), row.checked);
    lstType->addItem(fromUtf8(row.type));
  }
  for (const ExcludedFolder& row : loaded.excludedFolders) {
    addCheckedRow(lstExclude, fromUtf8(row.name), row.checked);
  }
  projectName_->setText(fromUtf8(loaded.projectName));
  baseFolder_->setPath(fromUtf8(loaded.baseFolder));  // a missing folder leaves it as it was
  // No saved name: the project is named after its folder rather than "-".
  if (loaded.projectName == kMissingMarker) {
    projectName_->setText(proposedProjectName(baseFolder_->path()));
  }
  if (loaded.autoOrganize) chkAutoOrg->setChecked(*loaded.autoOrganize == 1);
  if (loaded.filesBeforeFolders) chkSort->setChecked(*loaded.filesBeforeFolders == 1);
  applyAutoOrganize();
  flags_.configChanged = false;
}

bool ConfigForm::cmdSaveSettings_Click() {
  Configuration settings;
  settings.projectName = projectName_->text().toStdString();
  settings.baseFolder = baseFolder_->path().toStdString();
  settings.categories = categories();
  settings.excludedFolders = excludedFolders();
  settings.autoOrganize = chkAutoOrg->isChecked() ? 1 : 0;
  settings.filesBeforeFolders = chkSort->isChecked() ? 1 : 0;
  std::string reason;
  if (!saveConfiguration(settings, configPath_, &reason)) {
    prompts_.message(this,
                     QStringLiteral("Could not save the configuration to %1: %2.\n\nYour changes "
                                    "are kept in the window, and Quit asks again.")
                         .arg(fromUtf8(configPath_), fromUtf8(reason)),
                     kAppTitle, MessageKind::Error);
    return false;
  }
  flags_.configChanged = false;
  return true;
}

void ConfigForm::chkAutoOrg_Click() {
  flags_.configChanged = true;
  applyAutoOrganize();
}

void ConfigForm::chkSort_Click() {
  flags_.configChanged = true;
}

void ConfigForm::applyAutoOrganize() {
  bool manual = !chkAutoOrg->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(frmOrg), static_cast<QWidget*>(lstDescrip),
                           static_cast<QWidget*>(lstType), static_cast<QWidget*>(cmdRemCat),
                           static_cast<QWidget*>(cmdAddCat)}) {
    control->setEnabled(manual);
  }
}

void ConfigForm::cmdAddCat_Click() {
  auto name = prompts_.inputBox(this, QStringLiteral("Type in the Category Name"), kCategoryTitle);
  if (!name || name->isEmpty()) return;
  auto typed = prompts_.inputBox(this, QStringLiteral("Type in the Category Type"), kCategoryTitle);
  if (!typed || typed->isEmpty()) return;
  std::optional<QString> type = usableType(*typed);
  if (!type) return;
  addCheckedRow(lstDescrip, *name, true);
  lstType->addItem(*type);
  flags_.configChanged = true;
  if (lstDescrip->count() > kCategoryAddLimit) cmdAddCat->setEnabled(false);
}

std::optional<QString> ConfigForm::usableType(const QString& typed) {
  // A file's type is the text after its last dot, so it never holds a dot:
  // ".dsq" means dsq.
  QString type = typed.trimmed();
  while (type.startsWith(QLatin1Char('.'))) type.remove(0, 1);
  if (type.isEmpty() || type.contains(QLatin1Char('.'))) {
    prompts_.message(
        this,
        QStringLiteral("\"%1\" can never match a file. A file type is the text after the last "
                       "dot of a file name: cs for main.cs, gz for maps.tar.gz.")
            .arg(typed),
        kCategoryTitle, MessageKind::Warning);
    return std::nullopt;
  }
  return type;
}

int ConfigForm::selectedCategoryRow() const {
  int row = lstDescrip->currentRow();
  if (row < 0 || !lstDescrip->item(row)->isSelected()) row = -1;
  if (row < 0) {
    row = lstType->currentRow();
    if (row >= 0 && !lstType->item(row)->isSelected()) row = -1;
  }
  return row;
}

void ConfigForm::cmdRemCat_Click() {
  int row = selectedCategoryRow();
  if (row < 0) return;
  // Both rows of the pair go, so the description and type lists stay in step.
  delete lstDescrip->takeItem(row);
  if (row < lstType->count()) delete lstType->takeItem(row);
  flags_.configChanged = true;
  if (lstDescrip->count() <= kCategoryAddLimit && !chkAutoOrg->isChecked()) {
    cmdAddCat->setEnabled(true);
  }
}

void ConfigForm::cmdAddFolder_Click() {
  auto name = prompts_.inputBox(
      this,
      QStringLiteral(
          "Type in the name of a folder you want to exclude from the LKIT project creation search"),
      QStringLiteral("LKIT Folder Exclusion"));
  if (!name || name->isEmpty()) return;
  addCheckedRow(lstExclude, *name, true);
  flags_.configChanged = true;
}

void ConfigForm::cmdRemoveFolder_Click() {
  int row = lstExclude->currentRow();
  if (row < 0 || !lstExclude->item(row)->isSelected()) return;
  delete lstExclude->takeItem(row);
  flags_.configChanged = true;
}

void ConfigForm::swapCategoryRows(int from, int to) {
  for (QListWidget* list : {lstDescrip, lstType}) {
    if (std::max(from, to) >= list->count()) continue;
    QListWidgetItem* a = list->item(from);
    QListWidgetItem* b = list->item(to);
    QString text = a->text();
    a->setText(b->text());
    b->setText(text);
    if (list == lstDescrip) {
      Qt::CheckState check = a->checkState();
      a->setCheckState(b->checkState());
      b->setCheckState(check);
    }
  }
  lstDescrip->setCurrentRow(to);
  lstType->setCurrentRow(to);
}

void ConfigForm::cmdUp_Click() {
  int row = selectedCategoryRow();
  if (row <= 0) return;
  swapCategoryRows(row, row - 1);
}

void ConfigForm::cmdDown_Click() {
  int row = selectedCategoryRow();
  if (row < 0 || row >= lstDescrip->count() - 1) return;
  swapCategoryRows(row, row + 1);
}

}  // namespace lkit
