#pragma once
// Everything the program keeps for its whole run: the one model store, the
// option record of every dialog (created with start values, changed only by a
// confirmed dialog, never saved) and the one document.

#include <string>

#include "app/corvina_doc.h"
#include "app/stretch_view.h"
#include "app/user_settings.h"
#include "app/view_canvas.h"
#include "editor/selection_editor.h"
#include "editor/texture_map_raster.h"
#include "editor/view_keys.h"
#include "editor/view_size.h"
#include "files/obj_writer.h"
#include "files/uvs_writer.h"
#include "layout/island_packing.h"
#include "layout/layout_export.h"
#include "mapping/mapping_options.h"
#include "model/model_store.h"
#include "preview/preview_options.h"
#include "primitives/primitive_options.h"
#include "tools/normal_smoothing.h"

namespace corvina {

// The option record of every dialog, one line each.
struct OptionRecords {
  ObjExportOptions objExport;
  UserSettings userSettings;
  MappingRecords mapping;
  UvsExportOptions uvsExport;
  BmpExportOptions bmpExport;
  KeyStepOptions keyStep;
  SmoothingOptions smoothing;
  PackOptions pack;
  LayoutExportOptions layoutExport;
  preview::RenderPreviewOptions renderPreview;
  // The five "Create ..." dialogs start from their defaults at every command.
  BoxOptions newBox;
  ConeOptions newCone;
  CylinderOptions newCylinder;
  SphereOptions newSphere;
  TorusOptions newTorus;
};

struct ApplicationState {
  // Starts with an empty model, start values in every record, and
  // `workingDirectory` as the folder the first file dialog opens in.
  explicit ApplicationState(const std::string& workingDirectory);
  ApplicationState(const ApplicationState&) = delete;
  ApplicationState& operator=(const ApplicationState&) = delete;

  ModelStore store;
  OptionRecords options;
  CorvinaDoc document{store};
  // The size of the texture-map view that the selection editing and "Scale
  // Result" measure with: the window sets it on every resize, corvina-cli
  // from --view=WxH.
  ViewSize view;
  // The view's mouse and keys; the window forwards its events here.
  SelectionEditor editor{store, document.selection()};
  // The view's background picture and rendering, given by the front end that
  // has them (nullptr: those commands do nothing).
  ViewCanvas* canvas = nullptr;
  // View > Show Stretch and Show Angle Stretch; off at start.
  StretchView stretchView = StretchView::Off;
  // Whether the window's 3D preview is open (its View menu entry's check).
  bool previewShown = false;
};

// The size of the 0..1 square on screen, which selection editing, the
// frame's pixel rectangle and "Scale Result" measure with: the view's size
// at the original view, more when zoomed in, less when zoomed out.
ViewSize squareSize(const ApplicationState& app);

// The process's current working directory, or "" when it cannot be had.
std::string currentWorkingDirectory();

}  // namespace corvina
