#include "app/window/profile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

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
