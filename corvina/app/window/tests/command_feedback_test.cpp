// A command run from the window shows that it is working: a bar in the status
// bar's first pane and the busy cursor for as long as the work lasts, out of
// the way of its dialogs, and the place a closed dialog had is repainted
// before the work starts.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <vector>

#include "app/command_ids.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"

namespace corvina::window {
namespace {

Qt::CursorShape overrideShape() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor == nullptr ? Qt::ArrowCursor : cursor->shape();
}

bool barShown(CMainFrame& frame) {
  for (QProgressBar* bar : frame.statusBar()->findChildren<QProgressBar*>())
    if (bar->isVisible()) return true;
  return false;
}

bool readyShown(CMainFrame& frame) {
  auto* ready = frame.statusBar()->findChild<QLabel*>(QStringLiteral("firstPane"));
  return ready != nullptr && ready->isVisible();
}

// What the screen showed at each paint during a command: the view's paints
// and the bars' own.
class PaintLog : public QObject {
 public:
  struct ViewPaint {
    bool dialogOpen;
    bool dialogClosed;  // a dialog of this command has been answered
    int facets;
    bool bar;
    Qt::CursorShape cursor;
  };
  struct DialogSight {
    bool bar;
    bool ready;
    Qt::CursorShape cursor;
  };

  PaintLog(CMainFrame& frame, ApplicationState& app) : frame_(frame), app_(app) {
    qApp->installEventFilter(this);
  }
  ~PaintLog() override { qApp->removeEventFilter(this); }

  // Accepts the next dialog when it shows, noting what the window shows
  // around it.
  void acceptDialogs() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      dialogs.push_back({barShown(frame_), readyShown(frame_), overrideShape()});
      dialog->accept();
      dialogClosed_ = true;
    });
    timer_.start(5);
  }

  std::vector<ViewPaint> viewPaints;
  struct BarPaint {
    int range;  // the bar's maximum (0: a busy bar)
    Qt::CursorShape cursor;
  };
  std::vector<BarPaint> barPaints;
  std::vector<DialogSight> dialogs;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    if (watched == &frame_.view())
      viewPaints.push_back({QApplication::activeModalWidget() != nullptr, dialogClosed_,
                            app_.store.numFacets, barShown(frame_), overrideShape()});
    if (auto* bar = qobject_cast<QProgressBar*>(watched))
      barPaints.push_back({bar->maximum(), overrideShape()});
    return false;
  }

 private:
  CMainFrame& frame_;
  ApplicationState& app_;
  QTimer timer_;
  bool dialogClosed_ = false;
};

struct Window : WindowFixture {
  Window() {
    frame.resize(400, 300);
    frame.show();
    QApplication::processEvents();
  }

  void runFromMenu(int id) {
    QAction* action = frame.actionFor(id);
    ASSERT_NE(action, nullptr);
    action->trigger();
  }
};

struct Case {
  const char* name;
  int command;
  size_t dialogs;  // the option dialogs it shows first
  bool ownBar;     // the work steps a bar of its own
  bool redraws;    // the work ends with a redraw of the view
};

TEST(CommandFeedback, EachCommandShowsABarAndTheBusyCursorOnlyWhileItWorks) {
  const Case cases[] = {
      {"new sphere", kCommandNewSphere, 1, false, true},
      {"weld vertices", kCommandWeldVertices, 0, true, false},
      {"fix seams", kCommandFixSeams, 0, true, false},
  };
  Window window;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaintLog log(window.frame, window.app);
    log.acceptDialogs();
    window.runFromMenu(c.command);

    // A dialog is met with the ordinary cursor and no bar over "Ready".
    ASSERT_EQ(log.dialogs.size(), c.dialogs);
    for (const PaintLog::DialogSight& dialog : log.dialogs) {
      EXPECT_FALSE(dialog.bar);
      EXPECT_TRUE(dialog.ready);
      EXPECT_EQ(dialog.cursor, Qt::ArrowCursor);
    }

    // A busy bar stands for the work that steps none; a bar of the work's
    // own takes its place. Each is painted under the busy cursor.
    bool busyBar = false, ownBar = false;
    for (const PaintLog::BarPaint& bar : log.barPaints) {
      (bar.range == 0 ? busyBar : ownBar) = true;
      EXPECT_EQ(bar.cursor, Qt::WaitCursor);
    }
    EXPECT_TRUE(busyBar);
    EXPECT_EQ(ownBar, c.ownBar);

    // The window is painted under the bar and the busy cursor before the
    // work: the closed menu and dialog leave no picture behind.
    bool paintedUnderBar = false;
    for (const PaintLog::ViewPaint& paint : log.viewPaints)
      if (!paint.dialogOpen && paint.bar && paint.cursor == Qt::WaitCursor) paintedUnderBar = true;
    EXPECT_TRUE(paintedUnderBar);

    // The redraw at the end of the work happens under the bar.
    if (c.redraws) {
      ASSERT_FALSE(log.viewPaints.empty());
      const PaintLog::ViewPaint& last = log.viewPaints.back();
      EXPECT_GT(last.facets, 0);
      EXPECT_TRUE(last.bar);
      EXPECT_EQ(last.cursor, Qt::WaitCursor);
    }

    // Afterwards everything is as before the command.
    EXPECT_FALSE(barShown(window.frame));
    EXPECT_TRUE(window.frame.statusBar()->findChildren<QProgressBar*>().isEmpty());
    EXPECT_TRUE(readyShown(window.frame));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

TEST(CommandFeedback, AClosedDialogsPlaceIsRepaintedBeforeTheWork) {
  Window window;
  PaintLog log(window.frame, window.app);
  log.acceptDialogs();
  ASSERT_EQ(window.app.store.numFacets, 0);
  window.runFromMenu(kCommandNewSphere);
  ASSERT_GT(window.app.store.numFacets, 0);

  // Between the dialog's answer and the new model the view was painted with
  // the dialog gone and the old (empty) model still there: what the screen
  // shows during the work is the window, not the dialog.
  bool paintedBeforeWork = false;
  for (const PaintLog::ViewPaint& paint : log.viewPaints)
    if (paint.dialogClosed && !paint.dialogOpen && paint.facets == 0) paintedBeforeWork = true;
  EXPECT_TRUE(paintedBeforeWork);
}

TEST(CommandFeedback, AMessageAfterTheWorkPutsTheBarAndCursorAwayWhileItShows) {
  // The statistics of a model are a message box the command shows.
  Window window;
  {
    PaintLog generate(window.frame, window.app);
    generate.acceptDialogs();
    window.runFromMenu(kCommandNewSphere);
  }
  PaintLog log(window.frame, window.app);
  log.acceptDialogs();
  window.runFromMenu(kCommandStatistics);
  ASSERT_EQ(log.dialogs.size(), 1u);
  EXPECT_TRUE(log.dialogs[0].ready);
  EXPECT_FALSE(log.dialogs[0].bar);
  EXPECT_EQ(log.dialogs[0].cursor, Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(readyShown(window.frame));
}

}  // namespace
}  // namespace corvina::window
