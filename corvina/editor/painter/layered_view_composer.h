#pragma once
// The texture-map view composed for editing: while the selection frame is
// dragged or stepped by keys only the selected corners move, so the lines
// that stay (those with no selected end) are drawn once into a layer with,
// for every pixel, the number of the line that set it last. A frame then
// costs a copy of that layer and the moving lines, each of which sets a pixel
// only where it comes later in the drawing order than the still line there,
// which gives exactly the pixels of a full composition.
//
// The layer and the moving lines are drawn on every core: the facet stream
// (or the list of moving lines) is cut into parts in drawing order, and each
// part after the first draws into a layer of its own that is laid over the
// picture in order (see part_layers.h). A line's number is fixed by its place
// in the stream, so the layers' numbers agree however the work is cut.
//
// Memory: the picture, the layer and the line numbers, W x H x 4 bytes each,
// allocated when the size changes, not per frame; the parts' layers (see
// part_layers.h), and as many again for the moving lines drawn while the
// layer is; and the list of moving lines, at most W x H x 16 bytes.

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "editor/painter/outline_walk.h"
#include "editor/painter/part_layers.h"
#include "editor/painter/view_scene.h"
#include "editor/selection_picking.h"
#include "model/parallel_parts.h"

namespace corvina::painter {

// A line that moves with the frame, by stream indices, in drawing order,
// with its number in the drawing order.
struct MovingLine {
  std::uint32_t from, to, pen, number;
};

// A run of facets of the stream, from a separator on, and where its visible
// corners lie, noted while the layer is drawn: a view of the same model
// zoomed or panned away from a block does not walk it.
struct MapBlock {
  std::size_t begin = 0, end = 0;  // stream positions
  static constexpr float kFar = std::numeric_limits<float>::infinity();
  TexVertex least{kFar, kFar, 0}, greatest{-kFar, -kFar, 0};
  bool anySelected = false;     // a visible corner is selected (its lines move with the frame)
  bool unordered = false;       // a visible corner's coordinate is not a number
  bool anyCoordinates = false;  // as the walk tells it, for the hint
  bool listEnded = false;       // the end-of-list record lies in it
  void include(const TexVertex& uv, bool selected) {
    anySelected = anySelected || selected;
    if (uv.u != uv.u || uv.v != uv.v) {  // not a number
      unordered = true;
      return;
    }
    least = {std::min(least.u, uv.u), std::min(least.v, uv.v), 0};
    greatest = {std::max(greatest.u, uv.u), std::max(greatest.v, uv.v), 0};
  }
  // Adds what `other` noted of the same run's corners.
  void take(const MapBlock& other) {
    anySelected = anySelected || other.anySelected;
    unordered = unordered || other.unordered;
    anyCoordinates = anyCoordinates || other.anyCoordinates;
    least = {std::min(least.u, other.least.u), std::min(least.v, other.least.v), 0};
    greatest = {std::max(greatest.u, other.greatest.u), std::max(greatest.v, other.greatest.v), 0};
  }
  // Whether every line of the block lies beyond one edge of a view of
  // width x height with the square at `square` (never for a block with a
  // selected corner, whose lines the frame moves).
  bool outOfSight(const SquarePlacement& square, int width, int height) const;
  // Whether a line of the block may set a pixel of the box from (left, top)
  // to (right, bottom), inclusive.
  bool mayTouch(const SquarePlacement& square, int left, int top, int right, int bottom) const;
};

class LayeredViewComposer {
 public:
  // The view of `scene`, pixel for pixel composeView(scene). `frameOnly`
  // promises that since the previous call nothing but the selection frame
  // (its source and target rectangles) changed: the same model, selected and
  // hidden corners, colours, size and background. Without it the layer is
  // drawn again, as it is when the square's placement (zoom and pan) or the
  // pixel ratio changed. `sameModel` promises less: the model and selection
  // are as the last call saw them (only the frame, the square's placement or
  // the size changed), so the blocks out of sight need not be walked. The
  // picture stays valid until the next call.
  // `selectionShrank` promises that since the last call only the selection
  // shrank: selected corners were let go (their coordinates perhaps moved by
  // a commit of the frame) or hidden; then only their facets are drawn again.
  // `reselected` promises that only the selected bits of the records it
  // names changed (and the frame, as after a rubber band's pick); then the
  // layer is drawn again only where the lines that changed lie, and not at
  // all when every visible corner is selected.
  const QImage& compose(const ViewScene& scene, bool frameOnly, bool sameModel = false,
                        bool selectionShrank = false,
                        std::optional<PickChange> reselected = std::nullopt);

  // At most this many moving lines are listed; beyond it a frame walks the
  // model. 0, the start value, means one per pixel of the view.
  void setMovingLineLimit(std::size_t limit) { movingLineLimit_ = limit; }

  // About this many records make a block; 1024, the start value, keeps a
  // block's notes cheap beside its lines while a block covers little of the
  // map, so a zoom, a pan or a pick walks few that it need not (tests take
  // fewer).
  void setBlockRecords(std::size_t records) { blockRecords_ = std::max<std::size_t>(1, records); }

  // Forgets the layer: the next composition draws it again.
  void reset() { layered_ = false; }

  // Whether the last composition reused the layer (for tests and benchmarks).
  bool reusedLayer() const { return reused_; }
  // Whether the last composition drew only the facets of a shrunk selection.
  bool redrewShrunkSelection() const { return shrunk_; }
  // Whether the last composition drew again only where a pick changed lines.
  bool redrewReselection() const { return reselectedRedrawn_; }
  // The blocks the last drawing of the layer walked, of how many (for tests
  // and benchmarks).
  std::size_t walkedBlocks() const { return walkedBlocks_; }
  std::size_t blockCount() const { return blocks_.size(); }

 private:
  // `movingAtLeast`: a guess at how many lines move, from the selection; a
  // layer that will list more than it can does not start the list. It
  // changes no pixel, only whether the next frames draw from a list.
  bool drawStillLayer(const ViewScene& scene, bool sameModel, std::size_t movingAtLeast);
  void cutBlocks(const OutlineSource& source);
  std::vector<PartRange> blockParts(std::size_t count) const;
  bool redrawShrunkSelection(const ViewScene& scene);
  bool redrawReselected(const ViewScene& scene, PartRange changed);
  bool clearLayerOfMovingLines(const ViewScene& scene);
  void drawMovingLines(const ViewScene& scene);
  void drawListedLines(const ViewScene& scene);
  static PartTarget pictureTarget(QImage& image, std::uint32_t* lines);

  QImage picture_, still_;
  PartLayers layers_;
  // Each part's moving lines while the layer is drawn (see drawStillLayer).
  PartLayers movingLayers_;
  bool pictureDrawn_ = false;          // the layer's drawing drew the frame's picture too
  std::vector<std::uint32_t> lineAt_;  // per pixel: the still line that set it last, 0 none
  // The moving lines and the selected corners that get squares, listed while
  // the layer is drawn so a frame need not walk the whole model; at most one
  // line per pixel of the view (16 bytes each), else a frame walks the model.
  std::vector<MovingLine> moving_;
  std::vector<std::uint32_t> squareCorners_;
  // What each part lists, and a spare list: cleared for each composition but
  // keeping their memory, as a fresh list of a million lines would fault in
  // new pages at every pick.
  struct PartLists {
    std::vector<std::vector<MovingLine>> lines;
    std::vector<std::vector<std::uint32_t>> corners;
    std::vector<MovingLine> spareLines;
    std::vector<std::uint32_t> spareCorners;
    void prepare(std::size_t parts);  // at least `parts` of each, cleared
  };
  PartLists partLists_;
  bool listed_ = false;
  bool overflowed_ = false;  // the last layer drawn met more moving lines than it could list
  std::vector<MapBlock> blocks_;
  bool blocksKnown_ = false;  // blocks_ tells the model the last layer was drawn from
  std::size_t walkedBlocks_ = 0;
  // Whether every corner owns its texture vertex, worked out at the first
  // shrinking of the selection after the model may have changed.
  bool ownCorners_ = false, ownCornersChecked_ = false;
  bool shrunk_ = false;
  bool reselectedRedrawn_ = false;
  std::size_t movingLineLimit_ = 0;
  std::size_t blockRecords_ = std::size_t{1} << 10;
  bool layered_ = false;
  bool reused_ = false;
  SquarePlacement layerSquare_;
  int layerMark_ = 0;
};

}  // namespace corvina::painter
