#include "app/window/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include "app/window/choice_dialogs.h"
#include "app/window/option_dialog.h"
#include "editor/hot_keys_text.h"

namespace corvina::window {

namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The longest wait for the window's paint after a dialog.
constexpr int kPaintWaitMs = 200;

// Notes the first paint of the widget it watches.
class PaintWatch : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

}  // namespace

QString fileDialogFilter(const std::string& label, const std::string& pattern) {
  QString name = text(label);
  const qsizetype bracket = name.lastIndexOf(QLatin1String(" ("));
  if (bracket > 0 && name.endsWith(QLatin1Char(')'))) name.truncate(bracket);
  QStringList patterns = text(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& p : patterns)
    if (p == QLatin1String("*.*")) p = QStringLiteral("*");
  return name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QString keyListHtml(const std::string& list) {
  const std::vector<KeyListLine> lines = keyListLines(list);
  QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
  auto cell = [](const std::string& s) { return text(s).toHtmlEscaped(); };
  bool first = true;
  for (const KeyListLine& line : lines) {
    if (first) {
      // The column headings.
      html += QStringLiteral("<tr><th align=\"left\">") + cell(line.key) +
              QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;</th><th align=\"left\">") +
              cell(line.action) + QStringLiteral("</th></tr>");
      first = false;
    } else if (line.key.empty()) {
      html += QStringLiteral("<tr><td colspan=\"2\">&nbsp;</td></tr>");
    } else if (line.action.empty()) {
      html += QStringLiteral("<tr><td colspan=\"2\"><b>") + cell(line.key) +
              QStringLiteral("</b></td></tr>");
    } else {
      html += QStringLiteral("<tr><td><tt>") + cell(line.key) + QStringLiteral("</tt></td><td>") +
              cell(line.action) + QStringLiteral("</td></tr>");
    }
  }
  return html + QStringLiteral("</table>");
}

void QtUserInterface::showKeyList(const std::string& caption, const std::string& list) {
  QMessageBox box(QMessageBox::Information, text(caption), keyListHtml(list), QMessageBox::Ok,
                  &mainWindow_);
  box.setTextFormat(Qt::RichText);
  inDialog([&box] { return box.exec(); });
}

void QtUserInterface::showMessage(const std::string& caption, const std::string& message,
                                  MessageIcon icon) {
  QMessageBox box(boxIcon(icon), text(caption), text(message), QMessageBox::Ok, &mainWindow_);
  inDialog([&box] { return box.exec(); });
}

Answer QtUserInterface::ask(const std::string& caption, const std::string& message,
                            MessageIcon icon, QuestionButtons buttons, Answer) {
  QMessageBox::StandardButtons choices = QMessageBox::Yes | QMessageBox::No;
  if (buttons == QuestionButtons::YesNoCancel) choices |= QMessageBox::Cancel;
  QMessageBox box(boxIcon(icon), text(caption), text(message), choices, &mainWindow_);
  box.setDefaultButton(QMessageBox::Yes);
  switch (inDialog([&box] { return box.exec(); })) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
  }
}

std::optional<std::string> QtUserInterface::chooseFile(const FileRequest& request) {
  QFileDialog dialog(&mainWindow_, text(request.title), text(request.directory));
  QStringList filters;
  for (const auto& [label, pattern] : request.filters) filters << fileDialogFilter(label, pattern);
  dialog.setNameFilters(filters);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 440)));
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(text(request.defaultExtension));
  // A proposed name like "*.bmp" is only a pattern; a real name is offered.
  if (!request.initialName.empty() && request.initialName.find('*') == std::string::npos)
    dialog.selectFile(text(request.initialName));
  if (inDialog([&dialog] { return dialog.exec(); }) != QDialog::Accepted ||
      dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

bool QtUserInterface::editOptions(OptionDialog& dialog) {
  OptionDialogWidget widget(
      dialog, &mainWindow_, [this](const FileRequest& request) { return chooseFile(request); },
      [this](const std::string& message) {
        showMessage(QApplication::applicationDisplayName().toStdString(), message,
                    MessageIcon::Warning);
      });
  return inDialog([&widget] { return widget.exec(); }) == QDialog::Accepted;
}

std::optional<std::vector<int>> QtUserInterface::chooseFromList(const ListRequest& request) {
  return inDialog([&] { return runListDialog(request, &mainWindow_); });
}

std::optional<std::string> QtUserInterface::chooseName(const NameRequest& request) {
  return inDialog([&] { return runNameDialog(request, &mainWindow_); });
}

void QtUserInterface::beginProgress(int range) {
  showBar(std::max(0, range));
}

void QtUserInterface::stepProgress() {
  if (progress_ == nullptr) return;
  ++progressValue_;
  // Long work does not yield to the event loop, so the bar is painted here,
  // but only when it has grown by a visible step: a million steps must not
  // mean a million repaints.
  const int maximum = std::max(1, progress_->maximum());
  const qint64 shown = static_cast<qint64>(std::min(progressValue_, maximum)) * 200 / maximum;
  if (shown == progressShown_) return;
  progressShown_ = shown;
  progress_->setValue(std::min(progressValue_, maximum));
  if (dialogDepth_ == 0) progress_->repaint();
}

void QtUserInterface::endProgress() {
  if (progress_ == nullptr) return;
  removeBar();
  // The rest of a command's work is shown by the busy bar again.
  if (commandDepth_ > 0) showBar(0);
}

void QtUserInterface::beginCommand() {
  if (commandDepth_++ > 0) return;
  setBusy(true);
  if (progress_ == nullptr) showBar(0);
  // A menu closes as its entry runs; its place is the window's again before
  // the work, and the bar shows.
  repaintNow();
}

void QtUserInterface::endCommand() {
  if (commandDepth_ == 0) return;
  if (--commandDepth_ > 0) return;
  removeBar();
  setBusy(false);
}

void QtUserInterface::beforeDialog() {
  if (dialogDepth_++ > 0) return;
  if (progress_ != nullptr) {
    progress_->hide();
    setFirstPaneTextVisible(true);
  }
  arrowPushed_ = QApplication::overrideCursor() != nullptr;
  if (arrowPushed_) QApplication::setOverrideCursor(Qt::ArrowCursor);
}

void QtUserInterface::afterDialog() {
  if (dialogDepth_ == 0 || --dialogDepth_ > 0) return;
  if (arrowPushed_) QApplication::restoreOverrideCursor();
  arrowPushed_ = false;
  if (progress_ != nullptr) {
    setFirstPaneTextVisible(false);
    progress_->show();
  }
  repaintNow();
}

void QtUserInterface::repaintNow() {
  if (QLayout* layout = mainWindow_.statusBar()->layout()) layout->activate();
  // An opaque child (the view) is not painted with its parent: it is asked
  // on its own.
  mainWindow_.update();
  if (QWidget* central = mainWindow_.centralWidget()) central->update();
  // Qt paints a window at the platform's next frame, a few milliseconds
  // away; the work that follows a dialog would keep the event loop away, so
  // the events are handled until that paint has been (the dialog's place is
  // then the window's again). The user's input waits, and a window that is
  // not on the screen is not waited for.
  QWindow* window = mainWindow_.windowHandle();
  if (!mainWindow_.isVisible() || window == nullptr || !window->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return;
  }
  PaintWatch watch;
  mainWindow_.installEventFilter(&watch);
  QTimer giveUp;  // wakes the wait should no paint come
  giveUp.setSingleShot(true);
  giveUp.start(kPaintWaitMs);
  while (!watch.painted && giveUp.isActive())
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::WaitForMoreEvents);
  mainWindow_.removeEventFilter(&watch);
}

void QtUserInterface::showBar(int range) {
  removeBar();
  // The bar takes the first pane's place ("Ready") while the work lasts; a
  // range of 0 makes it a busy bar.
  progress_ = new QProgressBar(mainWindow_.statusBar());
  progress_->setMinimumWidth(0);
  progress_->setMaximumHeight(mainWindow_.statusBar()->fontMetrics().height());
  progress_->setRange(0, range);
  progress_->setValue(0);
  progressValue_ = 0;
  progressShown_ = 0;
  progress_->setTextVisible(false);
  mainWindow_.statusBar()->insertWidget(0, progress_, 1);
  if (dialogDepth_ > 0) {
    progress_->hide();
    return;
  }
  setFirstPaneTextVisible(false);
  progress_->show();
  // Laid out now: the work does not return to the event loop, which would.
  if (QLayout* layout = mainWindow_.statusBar()->layout()) layout->activate();
  mainWindow_.statusBar()->repaint();
}

void QtUserInterface::removeBar() {
  if (progress_ == nullptr) return;
  mainWindow_.statusBar()->removeWidget(progress_);
  delete progress_;
  setFirstPaneTextVisible(true);
}

void QtUserInterface::setFirstPaneTextVisible(bool visible) {
  if (QWidget* text = mainWindow_.statusBar()->findChild<QWidget*>(QStringLiteral("firstPane")))
    text->setVisible(visible);
}

void QtUserInterface::setBusy(bool busy) {
  if (busy) {
    ++busyDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0) {
    --busyDepth_;
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::refreshViews() {
  if (refresh_) refresh_();
}

}  // namespace corvina::window
