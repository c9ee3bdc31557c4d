#include "tests/test_support.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace brushwright_test {

TempFolder::TempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/brushwright-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(folder_, error);
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &saved_);
  previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved_;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &saved_);
  std::signal(SIGXFSZ, previousHandler_);
}

msModel buildModel(const std::vector<MeshRecipe>& meshes) {
  msModel model;
  std::map<std::string, int> materialOfName;
  for (const MeshRecipe& recipe : meshes) {
    msMesh mesh;
    mesh.name = recipe.name;
    if (!recipe.material.empty()) {
      auto [entry, added] =
          materialOfName.emplace(recipe.material, static_cast<int>(model.materials.size()));
      if (added) model.materials.push_back({recipe.material});
      mesh.materialIndex = entry->second;
    }
    for (const auto& vertex : recipe.vertices) mesh.addVertex(vertex[0], vertex[1], vertex[2]);
    for (const auto& corners : recipe.triangles) mesh.triangles.push_back({corners});
    model.meshes.push_back(std::move(mesh));
  }
  return model;
}

MeshRecipe stripMesh(const std::string& name, const std::string& material, int count) {
  MeshRecipe mesh{name, material, {}, {}};
  for (int triangle = 0; triangle < count; ++triangle) {
    for (int corner = 0; corner < 3; ++corner) {
      mesh.vertices.push_back({static_cast<float>(3 * triangle + corner), 0.0f, 0.0f});
    }
    const auto first = static_cast<uint16_t>(3 * triangle);
    mesh.triangles.push_back(
        {first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2)});
  }
  return mesh;
}

ScriptedDialogs::ScriptedDialogs(std::optional<std::string> savePath, bool answerYes)
    : savePath_(std::move(savePath)), answerYes_(answerYes) {
  setHostDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
  setHostDialogs(nullptr);
}

void ScriptedDialogs::showMessage(const std::string& caption, const std::string& text,
                                  uint32_t type) {
  messages.push_back({caption, text, type});
}

bool ScriptedDialogs::askYesNo(const std::string&, const std::string& text) {
  questions.push_back(text);
  return answerYes_;
}

std::optional<std::string> ScriptedDialogs::chooseSaveFile(const SaveDialogRequest& request) {
  saveRequests.push_back(request);
  return savePath_;
}

}  // namespace brushwright_test
