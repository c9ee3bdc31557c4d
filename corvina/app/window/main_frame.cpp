#include "app/window/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <algorithm>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/unsaved_changes.h"
#include "app/window/about_box.h"
#include "preview/stretch_report.h"
#include "preview/texel_density.h"

namespace corvina::window {

namespace {

QString text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// "Ctrl+Z; Alt+Backspace" as Qt's key sequences.
QList<QKeySequence> keySequences(std::string_view keys) {
  QList<QKeySequence> sequences;
  for (const QString& key : text(keys).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QKeySequence sequence =
        QKeySequence::fromString(key.trimmed(), QKeySequence::PortableText);
    if (!sequence.isEmpty()) sequences << sequence;
  }
  return sequences;
}

// The busy bar and cursor of one command, taken down however the command
// ends.
class CommandFeedback {
 public:
  explicit CommandFeedback(QtUserInterface& ui) : ui_(ui) { ui_.beginCommand(); }
  ~CommandFeedback() { ui_.endCommand(); }
  CommandFeedback(const CommandFeedback&) = delete;
  CommandFeedback& operator=(const CommandFeedback&) = delete;

 private:
  QtUserInterface& ui_;
};

}  // namespace

CMainFrame::CMainFrame(ApplicationState& app, Profile& profile,
                       std::function<LockReading()> readLocks)
    : app_(app), profile_(profile), readLocks_(std::move(readLocks)) {
  setWindowTitle(QStringLiteral("Corvina"));
  setWindowIcon(QIcon(QStringLiteral(":/corvina/corvina.png")));
  ui_ = std::make_unique<QtUserInterface>(*this, [this] { refreshViews(); });
  app_.canvas = &canvas_;
  auto runViewCommand = [this](ViewCommand command) {
    if (command == ViewCommand::Triangulate) runCommandNumber(kCommandTriangulate);
    if (command == ViewCommand::Degenerates) runCommandNumber(kCommandDegenerates);
  };
  view_ = new CorvinaView(app_, app_.editor, canvas_.background(),
                          ViewHooks{runViewCommand, [this] { updateCommandStates(); },
                                    [this] { preview_->modelChanged(); }},
                          this);
  setCentralWidget(view_);
  // The 3D preview starts closed, so the window opens as it always has.
  preview_ = new PreviewDock(app_, canvas_.background(), this);
  addDockWidget(Qt::RightDockWidgetArea, preview_);
  preview_->hide();
  buildMenus();
  history_ =
      new EditHistoryGlue(*this, app_, *view_, actionFor(kCommandUndo), actionFor(kCommandRedo));
  buildStatusBar();
  readLockIndicators();
  setAcceptDrops(true);
  placeWindow();
  view_->setFocus();
  updateCommandStates();
}

CMainFrame::~CMainFrame() {
  if (app_.canvas == &canvas_) app_.canvas = nullptr;
}

void CMainFrame::placeWindow() {
  if (!profile_.windowGeometry().isEmpty() && restoreGeometry(profile_.windowGeometry())) return;
  // A first start: room for the whole menu bar and every status pane, at
  // least 800 x 600, at most two thirds of the screen.
  const QScreen* screen = this->screen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1200, 900);
  const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  QSize size(std::max({800, menuBar()->sizeHint().width(), statusBar()->sizeHint().width()}),
             std::max(600, chrome + 200));
  size = size.boundedTo(QSize(available.width() * 2 / 3, available.height() * 2 / 3));
  resize(size);
  move(available.center() - rect().center());
}

bool CMainFrame::handledByWindow(int id) const {
  return id == kCommandAbout || id == kCommandExit || id == kCommandPreview3d;
}

void CMainFrame::refreshViews() {
  view_->refresh();
  preview_->modelChanged();
}

void CMainFrame::togglePreview() {
  if (!preview_->isHidden()) {
    preview_->hide();
    return;
  }
  // The narrow window grows by the dock's width rather than squeezing the
  // texture map.
  const bool firstTime = preview_->widget() == nullptr;
  preview_->show();
  if (firstTime && !preview_->isFloating())
    resize(width() + preview_->sizeHint().width(), std::max(height(), 360));
  preview_->modelChanged();
}

void CMainFrame::buildMenus() {
  std::map<std::string_view, QMenu*> menus;
  std::map<std::pair<std::string_view, std::string_view>, QMenu*> submenus;
  auto addEntry = [&](const CommandRow& row) {
    QMenu*& menu = menus[row.menu];
    if (menu == nullptr) {
      menu = menuBar()->addMenu(text(row.menu));
      connect(menu, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
    }
    QMenu* target = menu;
    if (!row.submenu.empty()) {
      QMenu*& submenu = submenus[{row.menu, row.submenu}];
      if (submenu == nullptr) {
        submenu = menu->addMenu(text(row.submenu));
        connect(submenu, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
      }
      target = submenu;
    }
    auto* action = target->addAction(text(row.menuText));
    action->setStatusTip(text(row.statusText));
    action->setCheckable(row.checked != nullptr);
    return action;
  };
  for (const CommandRow* row : menuRows()) {
    QAction* action = addEntry(*row);
    action->setShortcuts(keySequences(row->keys));
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = row->id;
    connect(action, &QAction::triggered, this, [this, id] { runCommandNumber(id); });
    actions_[id] = action;
  }
  // Help stays the last menu, after menus that later rows add (View).
  if (QMenu* help = menus.count("&Help") != 0 ? menus["&Help"] : nullptr) {
    menuBar()->removeAction(help->menuAction());
    menuBar()->addAction(help->menuAction());
  }
  // The Tools menu comes after every other one, Help included. Its entries
  // only show the keys of the commands they issue: those keys stay with the
  // commands' own entries, accelerators and the view.
  for (const CommandRow& row : toolsMenuRows()) {
    QAction* action = addEntry(row);
    connect(action, &QAction::triggered, this, [this, &row] { runToolsEntry(row); });
    toolsActions_.emplace_back(&row, action);
  }
  // The further accelerators: commands with keys but no menu entry.
  for (const CommandRow& row : commandTable()) {
    if (row.id == 0 || !row.menuText.empty() || row.keys.empty()) continue;
    auto* action = new QAction(text(row.name), this);
    action->setShortcuts(keySequences(row.keys));
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = row.id;
    connect(action, &QAction::triggered, this, [this, id] { runCommandNumber(id); });
    addAction(action);
    actions_[id] = action;
  }
}

void CMainFrame::buildStatusBar() {
  // The window starts narrow: the panes take no more room than their texts.
  statusBar()->setSizeGripEnabled(false);
  auto* ready = new QLabel(QStringLiteral("Ready"), statusBar());
  ready->setObjectName(QStringLiteral("firstPane"));
  ready->setMinimumWidth(ready->sizeHint().width());
  statusBar()->addWidget(ready, 1);
  auto indicator = [this](const QString& name) {
    auto* label = new QLabel(name, statusBar());
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setContentsMargins(2, 0, 2, 0);
    label->setFixedWidth(label->sizeHint().width());
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
    return label;
  };
  // The texel density, shown only while the stretch view is on.
  densityPane_ = new QLabel(statusBar());
  densityPane_->setObjectName(QStringLiteral("densityPane"));
  densityPane_->setFrameShape(QFrame::Panel);
  densityPane_->setFrameShadow(QFrame::Sunken);
  densityPane_->setContentsMargins(2, 0, 2, 0);
  densityPane_->hide();
  statusBar()->addPermanentWidget(densityPane_);
  capIndicator_ = indicator(QStringLiteral("CAP"));
  numIndicator_ = indicator(QStringLiteral("NUM"));
  scrollIndicator_ = indicator(QStringLiteral("SCRL"));
}

void CMainFrame::lockKeyPressed(int key) {
  // Until the platform is asked again (when the key is let go), a press
  // turns its lock over.
  if (key == Qt::Key_CapsLock) locks_ = afterLockKey(locks_, LockKey::Caps);
  if (key == Qt::Key_NumLock) locks_ = afterLockKey(locks_, LockKey::Num);
  if (key == Qt::Key_ScrollLock) locks_ = afterLockKey(locks_, LockKey::Scroll);
  showLockIndicators();
}

void CMainFrame::readLockIndicators() {
  if (readLocks_) locks_ = afterReading(locks_, readLocks_());
  showLockIndicators();
}

void CMainFrame::showLockIndicators() {
  capIndicator_->setEnabled(locks_.caps);
  numIndicator_->setEnabled(locks_.num);
  scrollIndicator_->setEnabled(locks_.scroll);
}

bool CMainFrame::event(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool lockKey = key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock ||
                         key->key() == Qt::Key_ScrollLock;
    if (lockKey && !key->isAutoRepeat()) {
      if (type == QEvent::KeyPress)
        lockKeyPressed(key->key());
      else
        readLockIndicators();
    }
  }
  // The locks may have changed while another window had the keyboard.
  if (type == QEvent::WindowActivate) readLockIndicators();
  return QMainWindow::event(event);
}

void CMainFrame::updateCommandStates() {
  // The dock may have been closed with its own button.
  app_.previewShown = preview_ != nullptr && !preview_->isHidden();
  for (const auto& [id, action] : actions_) {
    const CommandRow* row = findCommand(id);
    if (row == nullptr) continue;
    const bool enabled = handledByWindow(id) ? row->enabled != nullptr && row->enabled(app_)
                                             : isCommandEnabled(app_, id);
    action->setEnabled(enabled);
    if (action->isCheckable()) action->setChecked(isCommandChecked(app_, id));
  }
  for (const auto& [row, action] : toolsActions_) {
    action->setEnabled(row->run != nullptr && row->enabled != nullptr && row->enabled(app_));
    if (row->checked != nullptr) action->setChecked(row->checked(app_));
  }
  if (history_ != nullptr) history_->refresh();
  showTexelDensity();
}

void CMainFrame::showTexelDensity() {
  const bool shown = app_.stretchView != StretchView::Off && app_.store.modelLoaded != kModelNone;
  if (shown) {
    const TexelDensity density = measureTexelDensity(app_.store, &app_.document.selection());
    densityPane_->setText(QString::fromStdString(densityStatusText(density)));
  }
  densityPane_->setVisible(shown);
}

QAction* CMainFrame::actionFor(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

QAction* CMainFrame::toolsActionFor(const CommandRow& row) const {
  for (const auto& [entryRow, action] : toolsActions_)
    if (entryRow == &row) return action;
  return nullptr;
}

void CMainFrame::runToolsEntry(const CommandRow& row) {
  // An entry with a number is its command, as the command's key issues it.
  if (row.id != 0) {
    runCommandNumber(row.id);
    return;
  }
  updateCommandStates();
  if (row.enabled != nullptr && row.enabled(app_)) {
    CommandContext context{app_, *ui_};
    const CommandFeedback feedback(*ui_);
    runCommand(context, row);
  }
  updateCommandStates();
  view_->setFocus();
}

void CMainFrame::runCommandNumber(int id) {
  // Every entry is refreshed first: a key may issue a command whose entry
  // has not been looked at since the model changed.
  updateCommandStates();
  if (id == kCommandAbout) {
    AboutBox(this).exec();
  } else if (id == kCommandExit) {
    close();
    return;
  } else if (id == kCommandPreview3d) {
    togglePreview();
  } else if (isCommandEnabled(app_, id) && (!replacesModel(id) || offerToSaveChanges(app_, *ui_))) {
    CommandContext context{app_, *ui_};
    const CommandFeedback feedback(*ui_);
    runCommand(context, id);
  }
  updateCommandStates();
  // Keys belong to the view again once a command's dialogs are gone.
  view_->setFocus();
}

bool CMainFrame::openModelFile(const QString& path) {
  updateCommandStates();
  if (!offerToSaveChanges(app_, *ui_)) return false;
  bool opened = false;
  {
    const CommandFeedback feedback(*ui_);
    opened = app_.document.openModel(path.toStdString(), *ui_);
  }
  if (opened) profile_.addRecentFile(path);
  refreshViews();
  updateCommandStates();
  view_->setFocus();
  return opened;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  activateWindow();
  for (const QUrl& url : urls)
    if (url.isLocalFile()) openModelFile(url.toLocalFile());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!released_) {
    updateCommandStates();
    if (!offerToSaveChanges(app_, *ui_)) {
      event->ignore();
      return;
    }
    releaseModel(app_.store);
    released_ = true;
    profile_.setWindowGeometry(saveGeometry());
    profile_.write();
  }
  event->accept();
}

}  // namespace corvina::window
