#pragma once
// The texture-map view composed for editing: while the selection frame is
// dragged or stepped by keys only the selected corners move, so the lines
// that stay (those with no selected end) are drawn once into a layer with,
// for every pixel, the number of the line that set it last. A frame then
// costs a copy of that layer and the moving lines, each of which sets a pixel
// only where it comes later in the drawing order than the still line there,
// which gives exactly the pixels of a full composition.
//
// Memory: the picture, the layer and the line numbers, W x H x 4 bytes each,
// allocated when the size changes, not per frame.

#include <QImage>
#include <cstdint>
#include <vector>

#include "editor/painter/view_scene.h"

namespace corvina::painter {

class LayeredViewComposer {
 public:
  // The view of `scene`, pixel for pixel composeView(scene). `frameOnly`
  // promises that since the previous call nothing but the selection frame
  // (its source and target rectangles) changed: the same model, selected and
  // hidden corners, colours, size and background. Without it the layer is
  // drawn again. The picture stays valid until the next call.
  const QImage& compose(const ViewScene& scene, bool frameOnly);

  // Forgets the layer: the next composition draws it again.
  void reset() { layered_ = false; }

  // Whether the last composition reused the layer (for tests and benchmarks).
  bool reusedLayer() const { return reused_; }

 private:
  bool drawStillLayer(const ViewScene& scene);
  void drawMovingLines(const ViewScene& scene);

  QImage picture_, still_;
  std::vector<std::uint32_t> lineAt_;  // per pixel: 1 + the still line that set it, 0 none
  bool layered_ = false;
  bool reused_ = false;
};

}  // namespace corvina::painter
