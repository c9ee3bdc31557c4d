#pragma once

// The two user-interface services a plug-in may call: a message box and the
// save-file dialog. They keep the calling convention and flag values plug-ins
// are written against; the host decides how they are shown.

#include <cstdint>

using HWND = void*;

// Message box buttons and icons.
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_ICONWARNING = 0x30;
// Message box results.
inline constexpr int IDOK = 1;

// Save-dialog options.
inline constexpr uint32_t OFN_OVERWRITEPROMPT = 0x2;
inline constexpr uint32_t OFN_HIDEREADONLY = 0x4;
inline constexpr uint32_t OFN_PATHMUSTEXIST = 0x800;

struct OPENFILENAMEA {
  HWND hwndOwner = nullptr;
  // Pairs of display text and pattern, each terminated, the list ended by an empty text.
  const char* lpstrFilter = nullptr;
  uint32_t nFilterIndex = 0;  // 1-based entry selected at start
  char* lpstrFile = nullptr;  // in: start name; out: the full path chosen
  uint32_t nMaxFile = 0;
  char* lpstrFileTitle = nullptr;  // out: the chosen name without folder
  uint32_t nMaxFileTitle = 0;
  const char* lpstrTitle = nullptr;
  uint32_t Flags = 0;
  const char* lpstrDefExt = nullptr;  // appended when the chosen name has no extension
};

extern "C" {
// Shows a modal message; returns the button pressed (IDOK for an OK-only box).
int MessageBoxA(HWND owner, const char* text, const char* caption, uint32_t type);
// Shows the save dialog; nonzero with lpstrFile filled when the user chose a
// file, 0 when cancelled or when the name does not fit lpstrFile.
int GetSaveFileNameA(OPENFILENAMEA* dialog);
}
