#include "app/search_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

#include "app/about_form.h"
#include "app/config_form.h"
#include "app/display_text.h"
#include "app/drives.h"
#include "app/elided_label.h"
#include "app/folder_picker.h"
#include "app/form_canvas.h"
#include "app/project_name.h"
#include "app/search_form_layout.h"
#include "app/twips.h"
#include "core/folder_search.h"
#include "core/project_writer.h"

namespace lkit {

namespace {

const QColor kIdleColour(128, 255, 128);
const QColor kBusyColour(255, 192, 192);
const QColor kSearchingColour(255, 255, 0);
constexpr int kMaxCopiedRows = 3000;
// Pending events are processed at most this often during a search; a click
// on Abort still reaches the search within a fraction of a second.
constexpr qint64 kEventIntervalMs = 15;

QListWidget* list(QWidget* parent, QRect place, bool extendedSelection) {
  auto* made = new QListWidget(parent);
  made->setGeometry(place);
  if (extendedSelection) made->setSelectionMode(QAbstractItemView::ExtendedSelection);
  made->setUniformItemSizes(true);
  // Paths are shown whole; a long one scrolls sideways instead of losing its middle.
  made->setTextElideMode(Qt::ElideNone);
  made->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return made;
}

// While a search adds rows, every row is laid out at the first row's size,
// which keeps adding cheap; once the list is complete each row takes its own
// width, so the list scrolls sideways far enough to show every path whole.
void measureEveryRow(QListWidget* list, bool measure) {
  list->setUniformItemSizes(!measure);
}

void paintButton(QPushButton* button, const QColor& colour) {
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, colour);
  button->setPalette(palette);
}

QStringList toRows(const std::vector<FoundFile>& found, std::size_t first) {
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(found.size() - first));
  for (std::size_t i = first; i < found.size(); ++i) rows << displayText(found[i].row);
  return rows;
}

QStringList toRows(const std::vector<std::string>& names, std::size_t first) {
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(names.size() - first));
  for (std::size_t i = first; i < names.size(); ++i) rows << displayText(names[i]);
  return rows;
}

QString count(std::size_t n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

// Waits, processing events, until the time is up or `cut` says to stop.
void waitResponsively(int milliseconds, const std::function<bool()>& cut) {
  if (cut()) return;
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (cut()) loop.quit();
  });
  poll.start(50);
  loop.exec();
}

}  // namespace

SearchForm::SearchForm(std::string configPath, UserPrompts* prompts)
    : ownPrompts_(prompts ? nullptr : std::make_unique<DialogPrompts>()),
      prompts_(prompts ? prompts : ownPrompts_.get()) {
  pause_ = [this](int milliseconds) {
    waitResponsively(milliseconds, [this] { return closing_ || startWanted_; });
  };
  setWindowTitle(kAppTitle);
  canvas_ = new FormCanvas();
  canvas_->setMinimumSize(searchFormFirstArea());
  scroll_ = scrollAreaFor(canvas_, this);
  setCentralWidget(scroll_);
  QWidget* client = canvas_;
  buildMenus();

  Label1 = new QLabel(QStringLiteral("Select Base Directory"), client);
  Label1->setGeometry(twips(240, 120, 2895, 255));
  lblBaseDir = new ElidedLabel(client);
  lblBaseDir->setGeometry(twips(3240, 120, 3015, 255));
  Drive1 = new QComboBox(client);
  Drive1->setGeometry(twips(240, 360, 5055, 315));
  Dir1 = new FolderPicker(client);
  Dir1->setGeometry(twips(240, 840, 5055, 3015));
  Label2 = new QLabel(QStringLiteral("Project Name "), client);
  Label2->setGeometry(twips(240, 4005, 1215, 495));
  lblProjectName = new QLineEdit(QStringLiteral("loomwork"), client);
  lblProjectName->setGeometry(twips(1440, 4080, 3855, 375));
  cmdStartAbort = new QPushButton(QStringLiteral("Start"), client);
  cmdStartAbort->setGeometry(twips(5640, 360, 2055, 495));
  paintButton(cmdStartAbort, kIdleColour);
  cmdConfig = new QPushButton(QStringLiteral("Configure"), client);
  cmdConfig->setGeometry(twips(5640, 1320, 2055, 495));
  cmdExit = new QPushButton(QStringLiteral("Quit"), client);
  cmdExit->setGeometry(twips(5640, 2400, 2055, 495));

  // These lists lie beyond the first client area; the window shows them once
  // a job runs, and they take the room of an enlarged window.
  const SearchListPlaces places = searchListPlaces(searchFormFirstArea());
  FindFilesResults = list(client, places.results, true);
  lstGroup = list(client, places.groups, true);
  lstDirs = list(client, places.folders, true);
  // Working storage only, never shown to the user.
  FindFilesTmpResults = list(client, twips(8520, 5520, 5055, 1425), false);
  FindFilesTmpDirs = list(client, twips(8520, 6840, 5304, 1620), false);
  FindFilesTmpResults->hide();
  FindFilesTmpDirs->hide();
  lblResultsHeading = new QLabel(QStringLiteral("Files found (category = file)"), client);
  lblGroupsHeading = new QLabel(QStringLiteral("Groups (Auto-organize)"), client);
  lblDirsHeading = new QLabel(QStringLiteral("Folders searched"), client);
  placeLists(searchFormFirstArea());
  canvas_->onResize = [this](QSize area) { placeLists(area); };
  lblOutcome = new QLabel(QStringLiteral("Choose the base folder and press Start."));
  // One line per fact; a line wider than the window is cut at the right
  // edge rather than widening the window, and the whole text is the tooltip
  // and can be selected for copying.
  lblOutcome->setMinimumWidth(1);
  lblOutcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblOutcome->setTextFormat(Qt::PlainText);
  lblOutcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusBar()->addWidget(lblOutcome, 1);
  FindFilesResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FindFilesResults->setContextMenuPolicy(Qt::CustomContextMenu);

  connect(cmdStartAbort, &QPushButton::clicked, this, &SearchForm::cmdStartAbort_Click);
  connect(cmdConfig, &QPushButton::clicked, this, [this] {
    config_->show();
    config_->raise();
  });
  connect(cmdExit, &QPushButton::clicked, this, &SearchForm::cmdExit_Click);
  connect(Dir1, &FolderPicker::pathChanged, this, &SearchForm::baseFolderChanged);
  connect(FindFilesResults, &QListWidget::itemDoubleClicked, this,
          &SearchForm::FindFilesResults_DblClick);
  connect(FindFilesResults, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    preparePopupMenu();
    popmenu->popup(FindFilesResults->viewport()->mapToGlobal(at));
  });

  resize(searchFormFirstArea().width(), searchFormFirstArea().height() +
                                            menuBar()->sizeHint().height() +
                                            statusBar()->sizeHint().height());

  // The window opens: settings from the file; without a saved base folder
  // the picker starts in the folder lkit was started from.
  flags_.configChanged = false;
  config_ = new ConfigForm(flags_, *prompts_, std::move(configPath), lblProjectName, Dir1);
  Dir1->setPath(QDir::currentPath());
  config_->cmdLoadSettings_Click();
  setDrives(mountedVolumeRoots());
  connect(Drive1, &QComboBox::currentIndexChanged, this, &SearchForm::Drive1_Change);
  lblBaseDir->setPath(QString::fromStdString(projectDirectoryFor(Dir1->path().toStdString())));
}

void SearchForm::baseFolderChanged(const QString& path) {
  lblBaseDir->setPath(path);
  // A name that was proposed for the last folder follows the picker; a name
  // the user typed stays.
  if (!shownFolder_.isEmpty() && lblProjectName->text() == proposedProjectName(shownFolder_)) {
    lblProjectName->setText(proposedProjectName(path));
  }
  shownFolder_ = path;
}

SearchForm::~SearchForm() {
  delete config_;
  delete about_;
}

void SearchForm::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  connect(file->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
          &SearchForm::mnuExit_Click);
  file->addSeparator();
  file->addAction(QStringLiteral("Cancel"));  // only closes the menu
  connect(menuBar()->addAction(QStringLiteral("About")), &QAction::triggered, this,
          &SearchForm::mnuAbout_Click);

  popmenu = new QMenu(QStringLiteral("popmenu"), this);
  mnuCopy = popmenu->addAction(QStringLiteral("copy selected item(s) to clipboard"));
  popmenu->addSeparator();
  mnuCancelPopup = popmenu->addAction(QStringLiteral("cancel"));
  connect(mnuCopy, &QAction::triggered, this, &SearchForm::mnuCopy_Click);
}

void SearchForm::placeLists(QSize clientArea) {
  const SearchListPlaces places = searchListPlaces(clientArea);
  FindFilesResults->setGeometry(places.results);
  lstGroup->setGeometry(places.groups);
  lstDirs->setGeometry(places.folders);
  lblResultsHeading->setGeometry(places.resultsHeading);
  lblGroupsHeading->setGeometry(places.groupsHeading);
  lblDirsHeading->setGeometry(places.foldersHeading);
}

void SearchForm::revealLists() {
  const QSize full = searchFormFullArea();
  canvas_->setMinimumSize(full);
  // The menu bar, the status bar as its text now needs it, and anything else
  // around the client area.
  layout()->activate();
  QSize wanted = full + (size() - scroll_->size());
  if (QScreen* shown = screen()) {
    const QSize frame = frameGeometry().size() - geometry().size();
    wanted = wanted.boundedTo(shown->availableGeometry().size() - frame);
  }
  resize(wanted.expandedTo(size()));
}

void SearchForm::setDrives(const QStringList& roots) {
  const QStringList entries = driveEntries(roots, Dir1->path());
  const QString current = volumeRootOf(Dir1->path(), entries);
  QSignalBlocker quiet(Drive1);
  Drive1->clear();
  Drive1->addItems(entries);
  Drive1->setCurrentIndex(static_cast<int>(entries.indexOf(current)));
}

void SearchForm::Drive1_Change(int index) {
  if (index >= 0) Dir1->setPath(Drive1->itemText(index));
}

frmAbout* SearchForm::aboutForm() {
  if (about_ == nullptr) about_ = new frmAbout();
  return about_;
}

void SearchForm::mnuAbout_Click() {
  aboutForm()->show();
  about_->raise();
}

void SearchForm::setButtonIdle() {
  cmdStartAbort->setText(QStringLiteral("Start"));
  paintButton(cmdStartAbort, kIdleColour);
}

void SearchForm::processEventsNow() {
  qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (lastEventsMs_ >= 0 && now - lastEventsMs_ < kEventIntervalMs) return;
  lastEventsMs_ = now;
  QCoreApplication::processEvents();
}

void SearchForm::cmdStartAbort_Click() {
  if (cmdStartAbort->text() == QStringLiteral("Abort")) {
    flags_.abortSearch = true;
    setButtonIdle();
    return;
  }
  // The last job may still be finishing (an aborted search winding down, or
  // the pause after writing): the new job starts as soon as it is over.
  if (jobRunning_) {
    startWanted_ = true;
    return;
  }
  if (QString problem = projectNameProblem(lblProjectName->text()); !problem.isEmpty()) {
    prompts_->message(this, problem, kAppTitle, MessageKind::Warning);
    lblProjectName->setFocus();
    return;
  }
  jobRunning_ = true;
  startWanted_ = false;
  revealLists();
  flags_.abortSearch = false;
  cmdStartAbort->setText(QStringLiteral("Abort"));
  paintButton(cmdStartAbort, kBusyColour);
  lblOutcome->setText(QStringLiteral("Searching %1 ...").arg(Dir1->path()));

  QPalette yellow = FindFilesResults->palette();
  yellow.setColor(QPalette::Base, kSearchingColour);
  FindFilesResults->setPalette(yellow);
  for (QListWidget* working :
       {FindFilesTmpResults, FindFilesTmpDirs, FindFilesResults, lstDirs, lstGroup}) {
    working->clear();
  }
  measureEveryRow(FindFilesResults, false);
  measureEveryRow(lstDirs, false);

  // The job keeps the folder it searched, so a picker moved during the
  // search cannot mix two folders in one project file.
  std::string base = Dir1->path().toStdString();
  lastEventsMs_ = -1;
  FolderSearch search(config_->categories(), config_->excludedFolders(), flags_.abortSearch,
                      [this] { processEventsNow(); });
  search.setFolderDoneHook([&](std::size_t firstResult, std::size_t firstFolder) {
    FindFilesResults->addItems(toRows(search.results(), firstResult));
    lstDirs->addItems(toRows(search.folderNames(), firstFolder));
    FindFilesTmpDirs->clear();
    FindFilesTmpDirs->addItem(QStringLiteral("%1 folders queued").arg(search.queuedFolders()));
  });
  search.SearchTree(base);
  search.sortLists();
  FindFilesTmpDirs->clear();
  FindFilesResults->clear();
  FindFilesResults->addItems(toRows(search.results(), 0));
  lstDirs->clear();
  lstDirs->addItems(toRows(search.folderNames(), 0));
  measureEveryRow(FindFilesResults, true);
  measureEveryRow(lstDirs, true);
  FindFilesResults->setPalette(QPalette());

  writeAndReport(base, search);

  flags_.abortSearch = false;
  setButtonIdle();
  jobRunning_ = false;
  if (startWanted_ && !closing_) {
    QTimer::singleShot(0, this, [this] {
      if (startWanted_) cmdStartAbort_Click();
    });
  }
}

void SearchForm::writeAndReport(const std::string& base, FolderSearch& search) {
  // Quit or closing the window during the search ends the program: the
  // partial results must not replace the project file of an earlier job.
  // Only Abort writes what was found so far.
  if (closing_) return;
  const bool limited = search.results().size() > kResultLimit;
  const bool aborted = flags_.abortSearch && !limited;

  ProjectInput input;
  input.baseFolder = base;
  input.projectName = lblProjectName->text().toStdString();
  input.results = &search.results();
  for (const Category& row : config_->categories()) {
    input.categoryDescriptions.push_back(row.description);
  }
  input.autoOrganize = config_->autoOrganize();
  input.filesBeforeFolders = config_->filesBeforeFolders();
  lblBaseDir->setPath(QString::fromStdString(projectDirectoryFor(base)));
  ProjectOutcome outcome = WriteProject(input);
  lstGroup->addItems(toRows(outcome.groups, 0));

  const QString projectPath = displayText(outcome.projectPath);
  QStringList report;
  if (limited) {
    report << QStringLiteral("The search stopped after passing the limit of %1 files.")
                  .arg(kResultLimit);
  } else if (aborted) {
    report << QStringLiteral("Aborted.");
  }
  if (outcome.written) {
    report << QStringLiteral("%1 in %2 written to %3")
                  .arg(count(outcome.filesWritten, "file", "files"),
                       count(outcome.groupsWithFiles, "group", "groups"), projectPath);
  } else {
    report
        << QStringLiteral("Could not write %1: %2").arg(projectPath, displayText(outcome.failure));
  }
  for (const FullGroup& full : outcome.fullGroups) {
    report << QStringLiteral("Group \"%1\" stopped at %2 files, %3 left out.")
                  .arg(displayText(full.group))
                  .arg(kMaxFilesPerGroup)
                  .arg(full.filesLeftOut);
  }
  if (search.namesWithLineBreaks() > 0) {
    report << QStringLiteral("%1 files and folders left out: their names hold a line break.")
                  .arg(search.namesWithLineBreaks());
  }
  lblOutcome->setText(report.join(QLatin1Char('\n')));
  lblOutcome->setToolTip(lblOutcome->text());
  // The status bar takes the height of the new lines now, and the window
  // grows by them rather than taking the room from the lists.
  QEvent relayout(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(statusBar(), &relayout);
  revealLists();
  setButtonIdle();  // the job is over; the pause below only lets the user read

  if (!outcome.written) {
    prompts_->message(this,
                      QStringLiteral("Could not write the project file %1:\n%2.\n\nThe files "
                                     "found are still listed in the window.")
                          .arg(projectPath, displayText(outcome.failure)),
                      kAppTitle, MessageKind::Error);
    return;
  }
  if (pause_) pause_(kProjectPauseMs);
}

void SearchForm::cmdExit_Click() {
  if (flags_.configChanged) {
    Answer answer =
        prompts_->askYesNoCancel(this, QStringLiteral("Save configuration changes ?"), kAppTitle);
    if (answer == Answer::Cancel) return;
    // Changes that could not be saved keep the program running.
    if (answer == Answer::Yes && !config_->cmdSaveSettings_Click()) return;
  }
  endProgram();
}

void SearchForm::mnuExit_Click() {
  endProgram();
}

void SearchForm::endProgram() {
  close();
}

void SearchForm::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program: a running search winds down
  // and the other windows go with it.
  closing_ = true;
  flags_.abortSearch = true;
  config_->hide();
  if (about_ != nullptr) about_->hide();
  event->accept();
  QCoreApplication::quit();
}

void SearchForm::FindFilesResults_DblClick() {
  FindFilesResults->selectAll();
}

void SearchForm::preparePopupMenu() {
  qsizetype selected = FindFilesResults->selectionModel()->selectedRows().size();
  if (selected == 0) {
    mnuCopy->setText(QStringLiteral("Copy selected item(s) (up to 3000) to clipboard"));
  } else if (selected == 1) {
    mnuCopy->setText(QStringLiteral("Copy selected item to clipboard"));
  } else {
    mnuCopy->setText(
        QStringLiteral("Copy selected items (up to 3000, they are %1) to clipboard").arg(selected));
  }
  mnuCopy->setEnabled(selected >= 1 && selected <= kMaxCopiedRows);
}

void SearchForm::mnuCopy_Click() {
  QApplication::clipboard()->clear();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QString text;
  bool first = true;
  lastEventsMs_ = -1;
  for (int row = 0; row < FindFilesResults->count(); ++row) {
    processEventsNow();
    QListWidgetItem* item = FindFilesResults->item(row);
    if (item == nullptr || !item->isSelected()) continue;
    if (!first) text += QStringLiteral("\r\n");
    text += item->text();
    first = false;
  }
  QApplication::clipboard()->setText(text);
  QApplication::restoreOverrideCursor();
}

}  // namespace lkit
