// corvina: the texture-coordinate editor's window.
//   corvina [MODEL.obj]
#include <QApplication>
#include <QSettings>
#include <clocale>
#include <cstring>
#include <iostream>

#include "app/application_state.h"
#include "app/window/main_frame.h"
#include "app/window/profile.h"
#include "program_version.h"

int main(int argc, char** argv) {
  // Answered before Qt starts, so it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "corvina " << kProgramVersion << "\n";
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Brindle Labs"));
  QApplication::setApplicationName(QStringLiteral("Corvina"));
  QApplication::setDesktopFileName(QStringLiteral("corvina"));
  // Numbers in files and dialogs are read and written in the "C" form
  // whatever the desktop's language; Qt has set the C library's locale from
  // the environment by now.
  std::setlocale(LC_NUMERIC, "C");

  corvina::ApplicationState app(corvina::currentWorkingDirectory());
  QSettings settings(QStringLiteral("Brindle Labs"), QStringLiteral("Corvina"));
  corvina::window::Profile profile(settings);

  corvina::window::CMainFrame frame(app, profile);
  frame.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1 && !frame.openModelFile(arguments.at(1))) return 1;

  // A file named on the command line does not make its folder the one the
  // file dialogs start in: that is always the working directory.
  app.store.lastModelPath.clear();
  app.store.lastDirectory = corvina::currentWorkingDirectory();
  app.store.modelBaseName.clear();
  return QApplication::exec();
}
