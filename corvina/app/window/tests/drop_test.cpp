// Files dropped on the main window open in turn, the way the load command
// opens one: the last that loads is the model, each one that loads joins the
// recent files, and what is not a local file is passed over.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/window/main_frame.h"

namespace corvina::window {
namespace {

// Answers every box the drop shows (the statistics, an error) as a user
// pressing Escape would, so the test runs without anyone at the keyboard.
class BoxCloser {
 public:
  BoxCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        ++closed;
        box->close();
      }
    });
    timer_.start(5);
  }
  int closed = 0;

 private:
  QTimer timer_;
};

void writeFile(const QString& path, const char* text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

TEST(DropFiles, OpensEachLocalFileInTurn) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("profile.ini"), QSettings::IniFormat);
  Profile profile(settings);
  ApplicationState app(folder.path().toStdString());
  CMainFrame frame(app, profile);

  const QString triangle = folder.filePath("triangle.obj");
  const QString quad = folder.filePath("quad.obj");
  const QString empty = folder.filePath("empty.obj");
  writeFile(triangle, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  writeFile(quad, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n");
  writeFile(empty, "v 0 0 0\n");

  struct Case {
    const char* name;
    QList<QUrl> urls;
    int facets;  // of the model afterwards
    QStringList recent;
  };
  const Case cases[] = {
      {"two models: the last one stays",
       {QUrl::fromLocalFile(triangle), QUrl("https://example.com/x.obj"),
        QUrl::fromLocalFile(quad)},
       2,
       {quad, triangle}},
      {"a file without facets leaves the model and the list as they were",
       {QUrl::fromLocalFile(empty)},
       2,
       {quad, triangle}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QMimeData data;
    data.setUrls(c.urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    BoxCloser closer;
    QApplication::sendEvent(&frame, &drop);
    EXPECT_GE(closer.closed, 1);  // statistics or the error, for each local file
    EXPECT_EQ(app.store.numFacets, c.facets);
    EXPECT_EQ(profile.recentFiles(), c.recent);
  }
}

}  // namespace
}  // namespace corvina::window
