#pragma once
// A main frame with its profile in a temporary folder, for the tests that
// drive the window, and a model given to it from OBJ text.

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/window/main_frame.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {

struct WindowFixture {
  QTemporaryDir folder;
  QSettings settings{folder.filePath("profile.ini"), QSettings::IniFormat};
  Profile profile{settings};
  ApplicationState app{folder.path().toStdString()};
  CMainFrame frame{app, profile};

  // Writes `objText` to `name` in the folder and loads it through `ui` (a
  // scripted user, as the window's own load would wait for OK on the
  // statistics).
  void openModelText(const char* objText, const char* name, UserInterface& ui) {
    const QString path = folder.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(objText);
    file.close();
    app.document.openModel(path.toStdString(), ui);
  }
  void openModelText(const char* objText, const char* name) {
    testing::ScriptedUserInterface ui;
    openModelText(objText, name, ui);
  }
};

}  // namespace corvina::window
