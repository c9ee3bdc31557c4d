#pragma once
// Zoom and pan of the texture-map view. The view shows the 0..1 square of
// texture space (view coordinates x = u, y = 1 - v) at a rectangle of device
// pixels, the square's placement. At the original view the square fills the
// whole view, stretched, as the view has always drawn it. Zoomed or panned,
// the view acts as a view of the square's size whose top-left pixel sits at
// the placement's left and top: the view coordinate x shows at pixel
// left + trunc((width - 1) * x), a pixel p picks (p - left) / (width - 1),
// and every key step and drag measures with the square's size on screen.
//
// With "Keep Texture Proportions" the square's home is the largest rectangle
// of the texture map's width : height that fits the view, centred.

#include "editor/view_size.h"
#include "tools/selection_state.h"

namespace corvina {

struct SquarePlacement {
  int left = 0, top = 0;  // the device pixel of view coordinate (0, 0)
  ViewSize size;          // the square's size: the view size it stands for
  bool operator==(const SquarePlacement& other) const {
    return left == other.left && top == other.top && size.width == other.size.width &&
           size.height == other.size.height;
  }
};

// The texture map's size in pixels (mapWidth x mapHeight); only its
// proportions matter here.
struct MapShape {
  int width = 512;
  int height = 512;
};

// Whether `square` covers exactly the view of `view` pixels, as the
// original view does.
bool fillsView(const SquarePlacement& square, ViewSize view);

// A rectangle in the square's pixels (the selection frame's) where it shows
// in the view: moved by the square's top-left pixel, held in the int range.
PixelRect toScreen(const PixelRect& rect, const SquarePlacement& square);

class ViewTransform {
 public:
  // Where the square lies in a view of `view` pixels (sides below 1 count
  // as 1).
  SquarePlacement placement(ViewSize view, MapShape map) const;

  // Whether the square sits at its home, the view shown at the start (or,
  // with proportions kept, that view at the map's width : height).
  bool atHome() const { return home_; }
  void showHome();

  bool keepsProportions() const { return keepProportions_; }
  // Switches the proportions and shows the home that goes with them.
  void setKeepProportions(bool keep);

  // Zooms by `factor` about the device pixel (x, y): the view coordinate
  // under it stays there. The square keeps between 8 pixels and 256 times
  // its home size (at most 2^19 pixels a side). Returns whether the view
  // changed.
  bool zoomAt(ViewSize view, MapShape map, int x, int y, double factor);

  // Moves the square so its top-left pixel is at (left, top), keeping its
  // size; the pan of a drag that began at that placement. Returns whether
  // the view changed.
  bool moveSquareTo(ViewSize view, MapShape map, int left, int top);

  // Zooms and pans so `area` (view coordinates, any orientation) fills about
  // nine tenths of the view, centred; a flat or tiny area gets the largest
  // zoom. Nothing happens for an area that is not finite.
  bool frame(ViewSize view, MapShape map, const FrameRect& area);

 private:
  // Leaves home for an explicit placement of the square: `zoom` times its
  // home size with its top-left pixel at (left, top).
  void place(ViewSize view, const SquarePlacement& home, double zoom, double left, double top);

  bool keepProportions_ = false;
  bool home_ = true;
  double zoom_ = 1.0;  // the square's size over its home size
  // The view coordinate shown at the view's centre pixel (width - 1) / 2.
  double centreX_ = 0.5, centreY_ = 0.5;
};

}  // namespace corvina
