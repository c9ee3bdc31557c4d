#include "app/window/profile.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>

#include "app/window/main_frame.h"
#include "app/window/qt_user_interface.h"

namespace corvina::window {
namespace {

TEST(Profile, RecentFileListKeepsFourNewestFirstWithoutRepeats) {
  QTemporaryDir folder;
  const QString path = folder.filePath("Corvina.conf");
  {
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue("Recent File List/File1", "/m/a.obj");
    settings.setValue("Recent File List/File2", "/m/b.obj");
    settings.setValue("Settings/PreviewPages", 2);
  }
  {
    QSettings settings(path, QSettings::IniFormat);
    Profile profile(settings);
    EXPECT_EQ(profile.recentFiles(), QStringList({"/m/a.obj", "/m/b.obj"}));
    EXPECT_EQ(profile.previewPages(), 2);
    for (const char* file : {"/m/c.obj", "/m/d.obj", "/m/b.obj", "/m/e.obj"})
      profile.addRecentFile(file);
    EXPECT_EQ(profile.recentFiles(), QStringList({"/m/e.obj", "/m/b.obj", "/m/d.obj", "/m/c.obj"}));
    profile.write();
  }
  QSettings settings(path, QSettings::IniFormat);
  EXPECT_EQ(settings.value("Recent File List/File1").toString(), "/m/e.obj");
  EXPECT_EQ(settings.value("Recent File List/File4").toString(), "/m/c.obj");
  EXPECT_FALSE(settings.contains("Recent File List/File5"));
}

TEST(WindowPlacement, AFirstStartShowsTheMenuBarAndEveryStatusPaneWhole) {
  QTemporaryDir folder;
  QSettings settings(folder.filePath("Corvina.conf"), QSettings::IniFormat);
  Profile profile(settings);
  ApplicationState app(folder.path().toStdString());
  CMainFrame frame(app, profile);
  frame.show();
  const QRect screen = frame.screen()->availableGeometry();
  const QSize size = frame.size();
  EXPECT_LE(size.width(), screen.width() * 2 / 3);
  EXPECT_LE(size.height(), screen.height() * 2 / 3);
  EXPECT_GE(size.width(), std::min(800, screen.width() * 2 / 3));
  EXPECT_GE(size.height(), std::min(600, screen.height() * 2 / 3));
  EXPECT_GE(frame.menuBar()->width(), frame.menuBar()->sizeHint().width());
  for (const char* pane : {"firstPane", "CAP", "NUM", "SCRL"}) {
    const QLabel* label = frame.statusBar()->findChild<QLabel*>(pane);
    ASSERT_NE(label, nullptr) << pane;
    EXPECT_TRUE(label->isVisible()) << pane;
    EXPECT_GE(label->width(), label->sizeHint().width()) << pane;
    const QRect inWindow(label->mapTo(&frame, QPoint(0, 0)), label->size());
    EXPECT_TRUE(frame.rect().contains(inWindow)) << pane;
  }
}

TEST(WindowPlacement, TheWindowOpensWhereItWasClosed) {
  QTemporaryDir folder;
  const QString path = folder.filePath("Corvina.conf");
  QRect closedAt;
  {
    QSettings settings(path, QSettings::IniFormat);
    Profile profile(settings);
    ApplicationState app(folder.path().toStdString());
    CMainFrame frame(app, profile);
    frame.show();
    frame.setGeometry(40, 30, 420, 310);
    closedAt = frame.geometry();
    frame.close();
  }
  QSettings settings(path, QSettings::IniFormat);
  EXPECT_TRUE(settings.contains("Window/Geometry"));
  Profile profile(settings);
  ApplicationState app(folder.path().toStdString());
  CMainFrame frame(app, profile);
  EXPECT_EQ(frame.geometry(), closedAt);
}

TEST(FileDialogFilter, PatternsBecomeQtFilters) {
  struct Case {
    const char* label;
    const char* pattern;
    const char* filter;
  };
  const Case cases[] = {
      {"Wavefront Model (*.obj)", "*.obj", "Wavefront Model (*.obj)"},
      {"All Files (*.*)", "*.*", "All Files (*)"},
      {"Windows Bitmap (*.bmp)", "*.bmp", "Windows Bitmap (*.bmp)"},
      {"Models", "*.obj;*.uvs", "Models (*.obj *.uvs)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fileDialogFilter(c.label, c.pattern).toStdString(), c.filter);
}

}  // namespace
}  // namespace corvina::window
