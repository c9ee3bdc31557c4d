#pragma once

// How the host shows the platform dialogs that plug-ins call (MessageBoxA,
// GetSaveFileNameA). The host program answers them from its command line and
// standard error; tests answer them from a script. The dialog mechanics the
// plug-in relies on (default extension, overwrite question, path checks, buffer
// sizes) live in GetSaveFileNameA itself so every front end behaves alike.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What a plug-in asked the save dialog to show.
struct SaveDialogRequest {
  bool hasOwner = false;
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;  // display text, pattern
  uint32_t filterIndex = 0;
  std::string defaultExtension;
  uint32_t flags = 0;
  std::string startName;
  uint32_t fileBufferSize = 0;
  uint32_t fileTitleBufferSize = 0;
};

class HostDialogs {
 public:
  virtual ~HostDialogs() = default;
  // Shows a message with its caption; `type` holds the buttons and icon flags.
  virtual void showMessage(const std::string& caption, const std::string& text, uint32_t type) = 0;
  // Asks a Yes/No question; true for Yes.
  virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
  // The path the user typed or picked, or nothing when cancelled.
  virtual std::optional<std::string> chooseSaveFile(const SaveDialogRequest& request) = 0;
  // The save dialog refuses the chosen path with a warning (a missing folder,
  // no file name); the dialog then returns as failed. Shown as a message
  // unless a front end needs to know more.
  virtual void refuseSaveFile(const std::string& caption, const std::string& text);
};

// Installs the dialogs the platform functions use; null (the start state)
// drops messages and cancels every dialog. The caller keeps ownership.
void setHostDialogs(HostDialogs* dialogs);
