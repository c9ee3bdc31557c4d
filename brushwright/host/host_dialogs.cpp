// The platform dialog functions plug-ins call, over the installed HostDialogs.

#include "host/host_dialogs.h"

#include <cstring>
#include <filesystem>

#include "host_api/platform_dialogs.h"

namespace {

HostDialogs* installedDialogs = nullptr;

// A filter list longer than this is treated as ended; it guards against a
// list whose closing empty entry is missing.
constexpr size_t kMaxFilterListBytes = 4096;

std::vector<std::pair<std::string, std::string>> parseFilterList(const char* list) {
  std::vector<std::pair<std::string, std::string>> filters;
  if (list == nullptr) return filters;
  size_t position = 0;
  auto nextString = [&]() {
    const size_t length = strnlen(list + position, kMaxFilterListBytes - position);
    std::string text(list + position, length);
    position += length + 1;
    return text;
  };
  while (position < kMaxFilterListBytes && list[position] != '\0') {
    std::string display = nextString();
    if (position >= kMaxFilterListBytes) break;
    std::string pattern = nextString();
    filters.emplace_back(std::move(display), std::move(pattern));
  }
  return filters;
}

std::string textOrEmpty(const char* text) {
  return text == nullptr ? std::string() : text;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty()) return path;
  const std::string fileName = std::filesystem::path(path).filename().string();
  if (fileName.find('.') != std::string::npos) return path;
  return path + "." + extension;
}

bool folderExists(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  return std::filesystem::is_directory(folder, error);
}

bool nameExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

void copyCut(const std::string& text, char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return;
  const size_t length = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

void HostDialogs::refuseSaveFile(const std::string& caption, const std::string& text) {
  showMessage(caption, text, MB_ICONWARNING);
}

void setHostDialogs(HostDialogs* dialogs) {
  installedDialogs = dialogs;
}

extern "C" {

int MessageBoxA(HWND owner, const char* text, const char* caption, uint32_t type) {
  (void)owner;
  if (installedDialogs != nullptr) {
    installedDialogs->showMessage(textOrEmpty(caption), textOrEmpty(text), type);
  }
  return IDOK;
}

int GetSaveFileNameA(OPENFILENAMEA* dialog) {
  if (dialog == nullptr || dialog->lpstrFile == nullptr || dialog->nMaxFile == 0) return 0;
  if (installedDialogs == nullptr) return 0;

  SaveDialogRequest request;
  request.hasOwner = dialog->hwndOwner != nullptr;
  request.title = textOrEmpty(dialog->lpstrTitle);
  request.filters = parseFilterList(dialog->lpstrFilter);
  request.filterIndex = dialog->nFilterIndex;
  request.defaultExtension = textOrEmpty(dialog->lpstrDefExt);
  request.flags = dialog->Flags;
  request.startName = std::string(dialog->lpstrFile, strnlen(dialog->lpstrFile, dialog->nMaxFile));
  request.fileBufferSize = dialog->nMaxFile;
  request.fileTitleBufferSize = dialog->lpstrFileTitle == nullptr ? 0 : dialog->nMaxFileTitle;

  const std::string caption = request.title.empty() ? "Save As" : request.title;
  const std::optional<std::string> answer = installedDialogs->chooseSaveFile(request);
  if (!answer || answer->empty()) return 0;
  // A folder is no file name; a real dialog would not return one.
  const std::string typedName = std::filesystem::path(*answer).filename().string();
  if (typedName.empty() || typedName == "." || typedName == "..") {
    installedDialogs->refuseSaveFile(caption, *answer + "\nThe file name is not valid.");
    return 0;
  }
  const std::string path = withDefaultExtension(*answer, request.defaultExtension);

  if ((dialog->Flags & OFN_PATHMUSTEXIST) != 0 && !folderExists(path)) {
    installedDialogs->refuseSaveFile(caption, path + "\nThe folder does not exist.");
    return 0;
  }
  // The caller's buffer must hold the whole path; a cut path would name another file.
  if (path.size() + 1 > dialog->nMaxFile) {
    installedDialogs->refuseSaveFile(caption, path + "\nThe file name is too long.");
    return 0;
  }
  if ((dialog->Flags & OFN_OVERWRITEPROMPT) != 0 && nameExists(path) &&
      !installedDialogs->askYesNo(caption, path + " already exists.\nDo you want to replace it?")) {
    return 0;
  }
  copyCut(path, dialog->lpstrFile, dialog->nMaxFile);
  copyCut(std::filesystem::path(path).filename().string(), dialog->lpstrFileTitle,
          dialog->nMaxFileTitle);
  return 1;
}
}
