// The layout keeps Qt where it belongs: no Qt-free corvina target links a Qt
// library, compiles with Qt's include paths or definitions, or has a file
// that includes a <Q...> header. Only the window (app/window/), the view
// painter (editor/painter/), the background picture (editor/background/),
// the 3D preview's drawing (preview/gl/) and corvina-cli's renderer (app/cli/)
// may use Qt. And the layers talk downward only: no file of a layer includes
// a header of a layer above it or beside it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace corvina {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kQtFolders = {"app/window/", "editor/painter/", "editor/background/",
                                             "app/cli/",    "app/canvas/",     "preview/gl/"};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The path of `file` inside corvina/, or "" when it lies elsewhere.
std::string insideCorvina(const std::string& file) {
  const std::string root = std::string(CORVINA_SOURCE_DIR) + "/";
  return file.starts_with(root) ? file.substr(root.size()) : std::string();
}

bool inQtFolder(const std::string& relative) {
  for (const std::string& folder : kQtFolders)
    if (relative.starts_with(folder) || relative.find("/" + folder) != std::string::npos)
      return true;
  return false;
}

// Whether compile flags or link libraries name Qt.
bool mentionsQt(const std::string& text) {
  std::string lower = lowered(text);
  return lower.find("qt6") != std::string::npos || lower.find("qt5") != std::string::npos ||
         lower.find("-dqt_") != std::string::npos || lower.find("qtcore") != std::string::npos;
}

TEST(QtFreeLayoutTest, NoQtFreeSourceCompilesWithQt) {
  std::string commands = readFile(CORVINA_COMPILE_COMMANDS);
  ASSERT_FALSE(commands.empty()) << CORVINA_COMPILE_COMMANDS;
  // Each entry is an object holding "command" and "file".
  const std::regex entry("\"command\": \"((?:[^\"\\\\]|\\\\.)*)\",\\s*\"file\": \"([^\"]*)\"");
  int checked = 0;
  for (auto it = std::sregex_iterator(commands.begin(), commands.end(), entry);
       it != std::sregex_iterator(); ++it) {
    std::string relative = insideCorvina((*it)[2].str());
    if (relative.empty() || inQtFolder(relative)) continue;
    ++checked;
    EXPECT_FALSE(mentionsQt((*it)[1].str())) << relative << " is compiled with Qt";
  }
  // The model library alone has several files: the check saw the real list.
  EXPECT_GT(checked, 10);
}

TEST(QtFreeLayoutTest, NoQtFreeTargetLinksQt) {
  const std::string links = readFile(CORVINA_QT_FREE_LINKS);
  EXPECT_FALSE(mentionsQt(links)) << links;
  EXPECT_NE(links.find("corvina_model"), std::string::npos) << "the link list is read";
}

TEST(QtFreeLayoutTest, NoQtFreeFileIncludesAQtHeader) {
  const std::regex qtInclude("#\\s*include\\s*<Q[A-Za-z]");
  int checked = 0;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(CORVINA_SOURCE_DIR)) {
    if (!item.is_regular_file()) continue;
    const std::string extension = item.path().extension().string();
    if (extension != ".h" && extension != ".cpp") continue;
    std::string relative = insideCorvina(item.path().string());
    if (inQtFolder(relative)) continue;
    ++checked;
    EXPECT_FALSE(std::regex_search(readFile(item.path()), qtInclude)) << relative;
  }
  EXPECT_GT(checked, 10);
}

// The layers from the bottom up; a layer may include its own headers and those
// of layers with a lower rank. The test helpers of testing/ serve every test.
int layerRank(const std::string& folder) {
  static const std::vector<std::pair<std::string, int>> ranks = {
      {"model", 0},      {"tools", 1},  {"mapping", 2}, {"files", 2}, {"editor", 2},
      {"primitives", 3}, {"layout", 4}, {"preview", 5}, {"app", 6}};
  for (const auto& [name, rank] : ranks)
    if (name == folder) return rank;
  return -1;
}

TEST(QtFreeLayoutTest, LayersIncludeOnlyTheLayersBelowThem) {
  const std::regex ownInclude("#\\s*include\\s*\"([a-z]+)/");
  int checked = 0;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(CORVINA_SOURCE_DIR)) {
    if (!item.is_regular_file()) continue;
    const std::string extension = item.path().extension().string();
    if (extension != ".h" && extension != ".cpp") continue;
    const std::string relative = insideCorvina(item.path().string());
    // Fuzz targets drive a whole operation, as the user would.
    if (relative.find("/fuzz/") != std::string::npos) continue;
    const int rank = layerRank(relative.substr(0, relative.find('/')));
    if (rank < 0) continue;
    const std::string text = readFile(item.path());
    for (std::sregex_iterator m(text.begin(), text.end(), ownInclude), end; m != end; ++m) {
      const std::string target = (*m)[1].str();
      if (target == "testing" || target == relative.substr(0, relative.find('/'))) continue;
      const int targetRank = layerRank(target);
      if (targetRank < 0) continue;
      ++checked;
      EXPECT_LT(targetRank, rank) << relative << " includes " << (*m)[0].str();
    }
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace corvina
