#pragma once
// How the layered view walks the outlines: the tracer that works out each
// corner's point once and hands each line to a layer, and the layers it
// draws into (the lines that stay, the lines that move, lines put back).
// Shared by the layer's first drawing and its partial redraws.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/painter/layered_view_composer.h"
#include "editor/painter/outline_pens.h"
#include "editor/painter/outline_pixels.h"
#include "editor/painter/outline_walk.h"
#include "editor/painter/view_composer.h"

namespace corvina::painter {

// Records per part, and moving lines per part, below which another thread
// does not pay for its layer's merge.
constexpr std::size_t kPartRecords = std::size_t{1} << 16;
constexpr std::size_t kPartLines = std::size_t{1} << 14;
// Facets of a shrunk selection per part.
constexpr std::size_t kPartFacets = std::size_t{1} << 12;

inline bool selectedCorner(const CornerRecord& record) {
  return (record.group & kSelectedBit) != 0;
}

// The number of a line in drawing order, the same however the walk is cut:
// the line into corner j is 2j, the line closing the facet at corner j is
// 2j + 1 (0 stays free for "no line").
inline std::uint32_t lineNumber(std::size_t from, std::size_t to, std::size_t pen) {
  return static_cast<std::uint32_t>(2 * pen + (to <= from ? 1 : 0));
}

// Walks the outlines and hands the lines that `Layer` wants to its plot.
// Each visible corner's point is worked out once, as the walk reaches it.
template <class Layer>
class LayerTracer {
 public:
  LayerTracer(const ViewScene& scene, const OutlineSource& source, const OutlinePens& pens,
              Layer& layer)
      : scene_(scene),
        source_(source),
        pens_(pens),
        layer_(layer),
        byVertex_(scene.selection.selectMethod == SelectMethod::ByVertex),
        frame_(frameTransform(scene.selection)),
        square_(squareOf(scene, scene.width, scene.height)),
        mark_(markSize(scene.pixelRatio)) {}

  // The block whose corners the walk reaches next (the layer of lines that
  // stay notes where they lie).
  void setBlock(MapBlock* block) { block_ = block; }

  void corner(std::size_t j) {
    const CornerRecord& record = source_.record(j);
    const bool selected = selectedCorner(record);
    const TexVertex& uv = source_.uvOf(record);
    if constexpr (!Layer::kMoving) block_->include(uv, selected);
    previous_ = current_;
    // The layer of lines that stay never draws a line with a selected end,
    // unless it draws the moving lines too.
    if (Layer::kMoving || !selected || drawsMoving())
      current_ = outlinePoint(uv, selected, frame_, square_);
    if (j == 1 || source_.record(j - 1).vertex == kSeparator) first_ = current_;
    if (!byVertex_ || !selected) return;
    if constexpr (!Layer::kMoving) layer_.noteSquare(j);
    if (Layer::kMoving || drawsMoving()) {
      const ViewPoint p = current_.view;
      const int reach = mark_ / 2;
      if (p.x >= -reach && p.y >= -reach && p.x <= scene_.width + reach &&
          p.y <= scene_.height + reach)
        squares.emplace_back(static_cast<int>(p.x) - reach, static_cast<int>(p.y) - reach, mark_,
                             mark_);
    }
  }

  // The walk hands each line right after the corner it reaches: the line
  // into corner j runs from the previous corner, the closing line from
  // corner j back to the facet's first.
  void line(std::size_t from, std::size_t to, std::size_t pen) {
    const std::uint32_t number = lineNumber(from, to, pen);
    const bool moving = selectedCorner(source_.record(from)) || selectedCorner(source_.record(to));
    if constexpr (!Layer::kMoving) {
      if (moving) layer_.noteMoving(from, to, pen, number);
    }
    if (moving != Layer::kMoving && !(moving && drawsMoving())) return;
    bool dotted = false;
    const std::uint32_t color = pens_.color(source_.record(pen), dotted);
    const OutlinePoint& start = to > from ? previous_ : current_;
    const OutlinePoint& end = to > from ? current_ : (to == from ? current_ : first_);
    if constexpr (Layer::kMayDrawMoving) {
      if (moving) {
        forEachOutlinePixel(start, end, dotted, scene_.width, scene_.height,
                            [&](int x, int y) { layer_.plotMoving(x, y, number, color); });
        return;
      }
    }
    forEachOutlinePixel(start, end, dotted, scene_.width, scene_.height,
                        [&](int x, int y) { layer_.plot(x, y, number, color); });
  }

  // The selected corners' squares, by vertex: those of the moving lines'
  // layer, or of a layer that draws the moving lines too.
  std::vector<QRect> squares;

 private:
  bool drawsMoving() const {
    if constexpr (Layer::kMayDrawMoving) return layer_.movingTarget != nullptr;
    return false;
  }

  const ViewScene& scene_;
  const OutlineSource& source_;
  const OutlinePens& pens_;
  Layer& layer_;
  bool byVertex_;
  FrameTransform frame_;
  SquarePlacement square_;
  int mark_;
  OutlinePoint previous_, current_, first_;
  MapBlock* block_ = nullptr;
};

// The lines that stay, with their numbers; the moving ones are listed while
// they fit, and with a moving target drawn there too with their numbers, in
// the frame's present place, so that one walk yields the frame's picture.
struct StillLayer {
  static constexpr bool kMoving = false;
  static constexpr bool kMayDrawMoving = true;
  PartTarget& target;
  int width;
  std::vector<MovingLine>& moving;
  std::vector<std::uint32_t>& corners;  // the selected corners that get squares
  std::size_t movingLimit;
  PartTarget* movingTarget = nullptr;
  bool listed = true;  // every moving line met is in `moving`
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    target.pixels[y * target.pixelsPerRow + x] = color;
    target.lines[static_cast<std::ptrdiff_t>(y) * width + x] = number;
    target.reached(y);
  }
  void plotMoving(int x, int y, std::uint32_t number, std::uint32_t color) {
    movingTarget->pixels[y * movingTarget->pixelsPerRow + x] = color;
    movingTarget->lines[static_cast<std::ptrdiff_t>(y) * width + x] = number;
    movingTarget->reached(y);
  }
  void noteMoving(std::size_t from, std::size_t to, std::size_t pen, std::uint32_t number) {
    if (!listed) return;
    if (moving.size() >= movingLimit) {
      listed = false;
      moving.clear();
      corners.clear();
      return;
    }
    moving.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                      static_cast<std::uint32_t>(pen), number});
  }
  void noteSquare(std::size_t j) {
    if (listed) corners.push_back(static_cast<std::uint32_t>(j));
  }
};

// The moving lines, each setting a pixel only where it comes after the still
// line there.
struct MovingLayer {
  static constexpr bool kMoving = true;
  static constexpr bool kMayDrawMoving = false;
  PartTarget& target;
  const std::uint32_t* stillLines;
  int width;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    if (number > stillLines[static_cast<std::ptrdiff_t>(y) * width + x]) {
      target.pixels[y * target.pixelsPerRow + x] = color;
      target.reached(y);
    }
  }
};

// Lines put back into the layer where they come after the line there, in
// any order: a pixel ends with the line of the highest number, as when the
// layer is drawn whole. The moving ones are listed again.
struct AddedLayer {
  static constexpr bool kMoving = false;
  static constexpr bool kMayDrawMoving = false;
  PartTarget& target;
  int width;
  std::vector<MovingLine>& moving;
  std::vector<std::uint32_t>& corners;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    std::uint32_t& line = target.lines[static_cast<std::ptrdiff_t>(y) * width + x];
    if (number <= line) return;
    line = number;
    target.pixels[y * target.pixelsPerRow + x] = color;
    target.reached(y);
  }
  void noteMoving(std::size_t from, std::size_t to, std::size_t pen, std::uint32_t number) {
    moving.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to),
                      static_cast<std::uint32_t>(pen), number});
  }
  void noteSquare(std::size_t j) { corners.push_back(static_cast<std::uint32_t>(j)); }
};

// The lines that stay, drawn again only inside a box of pixels (inclusive)
// whose layer was cleared: each pixel there ends as a whole drawing of the
// layer leaves it. Moving lines are listed elsewhere.
struct ClippedStillLayer {
  static constexpr bool kMoving = false;
  static constexpr bool kMayDrawMoving = false;
  PartTarget& target;
  int width;
  int left, top, right, bottom;
  void plot(int x, int y, std::uint32_t number, std::uint32_t color) {
    if (x < left || x > right || y < top || y > bottom) return;
    target.pixels[y * target.pixelsPerRow + x] = color;
    target.lines[static_cast<std::ptrdiff_t>(y) * width + x] = number;
    target.reached(y);
  }
  void noteMoving(std::size_t, std::size_t, std::size_t, std::uint32_t) {}
  void noteSquare(std::size_t) {}
};

}  // namespace corvina::painter
