#pragma once
// The numbers of the commands that menu entries, accelerators and corvina-cli
// steps issue. The window's menus and the command table use the same numbers.

namespace corvina {

constexpr int kCommandLoadModel = 57601;
constexpr int kCommandSaveModel = 32772;
constexpr int kCommandSettings = 32771;
constexpr int kCommandStatistics = 32798;
constexpr int kCommandDimensions = 32799;
constexpr int kCommandColorBlackWhite = 32823;
constexpr int kCommandColorGroup = 32820;
constexpr int kCommandColorMaterial = 32821;
constexpr int kCommandColorRegion = 32822;

}  // namespace corvina
