#pragma once

// Helpers shared by the brushwright tests: a scratch folder, whole-file
// reading, hand-built host models and dialogs answered from a script.

#include <sys/resource.h>
#include <array>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host_dialogs.h"
#include "host/in_memory_model.h"

namespace brushwright_test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string path(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_;
};

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Lowers the largest file this process may write, so writes fail with EFBIG
// instead of raising SIGXFSZ; both are put back when it goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

struct MeshRecipe {
  std::string name;
  std::string material;  // empty: the mesh has no material
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<uint16_t, 3>> triangles;
};

// A host model with the meshes in order; equal material names share one material.
msModel buildModel(const std::vector<MeshRecipe>& meshes);

// A mesh of `count` triangles, triangle i using fresh vertices 3i..3i+2, vertex k at (k, 0, 0).
MeshRecipe stripMesh(const std::string& name, const std::string& material, int count);

// Answers the save dialog with a fixed path (or cancels) and every question with a fixed answer;
// records what was shown.
class ScriptedDialogs : public HostDialogs {
 public:
  explicit ScriptedDialogs(std::optional<std::string> savePath, bool answerYes = true);
  ~ScriptedDialogs() override;

  void showMessage(const std::string& caption, const std::string& text, uint32_t type) override;
  bool askYesNo(const std::string& caption, const std::string& text) override;
  std::optional<std::string> chooseSaveFile(const SaveDialogRequest& request) override;

  struct Message {
    std::string caption, text;
    uint32_t type;
  };
  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::vector<SaveDialogRequest> saveRequests;

 private:
  std::optional<std::string> savePath_;
  bool answerYes_;
};

}  // namespace brushwright_test
