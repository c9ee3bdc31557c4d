#pragma once
// CorvinaView's picture: the texture map composed off screen in an image of
// exactly W x H pixels, which the window then copies in one step (no
// flicker) and corvina-cli's render step writes out as it is.

#include <QImage>

#include "editor/painter/part_layers.h"
#include "editor/painter/view_scene.h"

namespace corvina::painter {

struct CompositionReport {
  bool hintShown = false;  // the four-line "no UV texture coordinates" hint
  bool emblemShown = false;
  int penChanges = 0;
};

// The composed view: the white field (or the background picture, stretched)
// with every facet's outline, or the grey empty view with the emblem when no
// model is loaded; the hint is written over it when due. The selection frame
// is not part of it (see drawSelectionFrame). A width or height below 1 is
// taken as 1.
QImage composeView(const ViewScene& scene, CompositionReport* report = nullptr);
// The same, the outlines drawn on every core into `layers` (kept by a caller
// that composes often, so their memory is not touched afresh each time).
QImage composeView(const ViewScene& scene, CompositionReport* report, PartLayers& layers);

// The composed view with the selection frame on top while a selection is
// active: what the window shows between mouse drags.
QImage composeViewWithFrame(const ViewScene& scene, CompositionReport* report = nullptr);

}  // namespace corvina::painter
