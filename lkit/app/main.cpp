// lkit: builds an editor project file from a game project's folder tree.
// With --run it does the Start job once without windows.

#include <QApplication>
#include <QCoreApplication>
#include <QStyleFactory>
#include <clocale>
#include <cstring>
#include <iostream>

#include "app/config_location.h"
#include "app/run_mode.h"
#include "app/search_form.h"
#include "app/usage.h"
#include "program_version.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "lkit " << kProgramVersion << "\n";
    return 0;
  }
  std::string error;
  auto options = lkit::parseCommandLine(argc, argv, error);
  if (!options) {
    std::cerr << "lkit: " << error << "\n" << lkit::kUsage;
    return 2;
  }
  if (options->help) {
    std::cout << lkit::kUsage;
    return 0;
  }
  if (options->run) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::string config =
        options->configPath.empty() ? lkit::defaultConfigPath().toStdString() : options->configPath;
    return lkit::runWithoutWindows(*options, config, std::cout, std::cerr);
  }
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  std::string config =
      options->configPath.empty() ? lkit::defaultConfigPath().toStdString() : options->configPath;
  lkit::SearchForm window(config);
  window.show();
  return QApplication::exec();
}
