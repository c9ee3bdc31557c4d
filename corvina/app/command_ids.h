#pragma once
// The numbers of the commands that menu entries, accelerators and corvina-cli
// steps issue. The window's menus and the command table use the same numbers.

namespace corvina {

// File
constexpr int kCommandLoadModel = 57601;
constexpr int kCommandNewBox = 32776;
constexpr int kCommandNewCone = 32778;
constexpr int kCommandNewCylinder = 32780;
constexpr int kCommandNewSphere = 32779;
constexpr int kCommandNewTorus = 32781;
constexpr int kCommandImportUvs = 32829;
constexpr int kCommandSaveModel = 32772;
constexpr int kCommandSaveTextureMap = 57604;
constexpr int kCommandExportUvs = 32827;
constexpr int kCommandExit = 57665;

// Edit
constexpr int kCommandSettings = 32771;
constexpr int kCommandSelectByFacet = 32844;
constexpr int kCommandSelectByVertex = 32845;
constexpr int kCommandColorBlackWhite = 32823;
constexpr int kCommandColorGroup = 32820;
constexpr int kCommandColorMaterial = 32821;
constexpr int kCommandColorRegion = 32822;
constexpr int kCommandFixSeams = 32773;
constexpr int kCommandSplitVertices = 32782;
constexpr int kCommandWeldVertices = 32774;
constexpr int kCommandSelectAll = 32795;
constexpr int kCommandSelectNone = 32794;
constexpr int kCommandSelectGroup = 32792;
constexpr int kCommandSelectMaterial = 32793;
constexpr int kCommandSelectRegion = 32811;
constexpr int kCommandAssignGroup = 32813;
constexpr int kCommandAssignMaterial = 32814;
constexpr int kCommandAssignRegion = 32815;
constexpr int kCommandRotate = 32826;
constexpr int kCommandPlanar = 32785;
constexpr int kCommandBox = 32786;
constexpr int kCommandCylindrical = 32787;
constexpr int kCommandCylindricalCap = 32790;
constexpr int kCommandSpherical = 32788;
constexpr int kCommandTileGroup = 32816;
constexpr int kCommandTileMaterial = 32817;
constexpr int kCommandTileRegion = 32818;

// Help
constexpr int kCommandStatistics = 32798;
constexpr int kCommandDimensions = 32799;
constexpr int kCommandHotKeys = 32796;
constexpr int kCommandAbout = 57664;

// Keys and commands without a menu entry.
constexpr int kCommandLoadBackground = 32804;
constexpr int kCommandClearBackground = 32805;
constexpr int kCommandFlipBackgroundH = 32806;
constexpr int kCommandFlipBackgroundV = 32807;
constexpr int kCommandToggleBackground = 32808;
constexpr int kCommandInvertH = 32809;
constexpr int kCommandInvertV = 32810;
constexpr int kCommandUndo = 57643;
constexpr int kCommandRedo = 57644;
constexpr int kCommandNewDocument = 57600;
constexpr int kCommandNextPane = 57680;
constexpr int kCommandPreviousPane = 57681;
constexpr int kCommandSmooth = 32834;
constexpr int kCommandLastProjection = 32837;
constexpr int kCommandSelectInverse = 32839;
constexpr int kCommandTriangulate = 32848;
constexpr int kCommandDegenerates = 32850;
constexpr int kCommandPerFacet = 32852;

// The texture-map layout: islands packed, texel density, layout pictures.
constexpr int kCommandPackIslands = 32860;
constexpr int kCommandEqualizeDensity = 32861;
constexpr int kCommandExportLayout = 32862;

// The distortion display of the texture-map view.
constexpr int kCommandShowStretch = 32870;
constexpr int kCommandShowAngleStretch = 32871;
// The View menu: zoom and pan of the texture-map view.
constexpr int kCommandKeepProportions = 32880;
constexpr int kCommandOriginalView = 32881;
constexpr int kCommandFrameSelection = 32882;

// The 3D preview: the View menu's entry that opens and closes its dock.
constexpr int kCommandPreview3d = 32872;

}  // namespace corvina
