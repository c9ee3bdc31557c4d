#include "editor/painter/view_composer.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <limits>

#include "editor/painter/empty_view.h"
#include "editor/painter/no_uv_hint.h"
#include "editor/painter/tests/uv_model.h"

namespace corvina::painter {
namespace {

using testing::squareFacet;
using testing::UvCorner;
using testing::UvFacet;
using testing::uvModel;

QRgb pixel(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kSelection = 0xC00000;

QImage compose(const ModelStore& store, const SelectionState& selection, int width, int height,
               CompositionReport* report = nullptr, const QImage* background = nullptr) {
  ViewScene scene{store, selection, background, width, height};
  return composeView(scene, report);
}

// Counts the pixels of one colour on row y between x0 and x1 inclusive.
int countOnRow(const QImage& image, int y, int x0, int x1, QRgb color) {
  int count = 0;
  for (int x = x0; x <= x1; ++x) count += pixel(image, x, y) == color;
  return count;
}

int countColor(const QImage& image, QRgb color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    count += countOnRow(image, y, 0, image.width() - 1, color);
  return count;
}

// A square over u, v in [0.25, 0.75] in a 101 x 101 view has its corners at
// pixels 25 and 75 (100 x 0.25 = 25; y = 100 x (1 - 0.75) = 25).
struct ColorModeCase {
  int colorMode;
  int setIndex;
  QRgb expected;
};

TEST(ViewComposer, OutlineTakesThePaletteColourOfItsSetInEachColourMode) {
  const ColorModeCase cases[] = {
      {0, 1, kBlack},     // black and white ignores the sets
      {1, 1, kRed},       // group 1 is pure red
      {1, 14, kBlack},    // groups 0 and 14 share black
      {1, 15, kRed},      // index modulo 14
      {2, 2, 0x00FF00},   // material 2 is green
      {3, 13, 0x7F7F7F},  // region 13 is grey 127
      {3, 9, 0x00007F},
  };
  for (const ColorModeCase& c : cases) {
    ModelStore store = uvModel({squareFacet(0.25f, 0.25f, 0.75f, 0.75f, c.setIndex)});
    store.colorMode = c.colorMode;
    const QImage image = compose(store, SelectionState{}, 101, 101);
    SCOPED_TRACE(c.colorMode * 100 + c.setIndex);
    for (const QPoint p :
         {QPoint(25, 25), QPoint(50, 25), QPoint(75, 50), QPoint(50, 75), QPoint(25, 50)})
      EXPECT_EQ(pixel(image, p.x(), p.y()), c.expected) << p.x() << "," << p.y();
    EXPECT_EQ(pixel(image, 50, 50), kWhite);  // the inside stays white
    EXPECT_EQ(pixel(image, 10, 10), kWhite);
  }
}

TEST(ViewComposer, SelectedFacetByFacetIsDottedInTheSelectionColourInEveryMode) {
  for (int mode = 0; mode < 4; ++mode) {
    UvFacet facet = squareFacet(0.25f, 0.25f, 0.75f, 0.75f, 3);
    for (UvCorner& corner : facet.corners) corner.selected = true;
    ModelStore store = uvModel({facet});
    store.colorMode = mode;
    SelectionState selection;
    selection.selectionActive = true;
    selection.source = selection.target = {0.25f, 0.75f, 0.25f, 0.75f};
    const QImage image = compose(store, selection, 101, 101);
    const int red = countOnRow(image, 25, 27, 73, kSelection);
    const int white = countOnRow(image, 25, 27, 73, kWhite);
    EXPECT_GT(red, 10) << mode;
    EXPECT_GT(white, 10) << mode;  // dotted: gaps between the dots
    EXPECT_EQ(red + white, 47) << mode;
    EXPECT_EQ(countColor(image, 0x0000FF), 0) << mode;  // not the set colour
  }
}

TEST(ViewComposer, SelectedCornerByVertexKeepsItsSetColourAndCarriesAFourPixelSquare) {
  UvFacet facet = squareFacet(0.25f, 0.25f, 0.75f, 0.75f, 1);
  facet.corners[0].selected = true;  // (0.25, 0.25) is pixel (25, 75)
  ModelStore store = uvModel({facet});
  store.colorMode = 1;
  SelectionState selection;
  selection.selectionActive = true;
  selection.selectMethod = SelectMethod::ByVertex;
  selection.source = selection.target = {0.25f, 0.25f, 0.75f, 0.75f};
  const QImage image = compose(store, selection, 101, 101);
  for (int y = 73; y <= 76; ++y)
    for (int x = 23; x <= 26; ++x) EXPECT_EQ(pixel(image, x, y), kSelection) << x << "," << y;
  EXPECT_NE(pixel(image, 22, 75), kSelection);
  EXPECT_NE(pixel(image, 27, 75), kSelection);
  EXPECT_NE(pixel(image, 25, 72), kSelection);
  EXPECT_NE(pixel(image, 25, 77), kSelection);
  EXPECT_EQ(pixel(image, 50, 25), kRed);  // the facet keeps its group colour
  EXPECT_EQ(pixel(image, 50, 75), kRed);
}

TEST(ViewComposer, PendingMoveDrawsSelectedCornersThroughTheFrameAndLeavesOthersPut) {
  // Two facets; the left one selected and its frame moved right by 0.5.
  UvFacet moved = squareFacet(0.0f, 0.0f, 0.25f, 0.25f);
  for (UvCorner& corner : moved.corners) corner.selected = true;
  ModelStore store = uvModel({moved, squareFacet(0.0f, 0.5f, 0.25f, 0.75f)});
  SelectionState selection;
  selection.selectionActive = true;
  selection.selectMethod = SelectMethod::ByVertex;  // solid set colour, easy to probe
  selection.source = {0.0f, 0.25f, 0.75f, 1.0f};
  selection.target = {0.5f, 0.75f, 0.75f, 1.0f};
  const QImage image = compose(store, selection, 101, 101);
  // The moved facet's bottom edge runs at y = 100 from x = 50 to 75.
  EXPECT_EQ(pixel(image, 62, 100), kBlack);
  EXPECT_EQ(pixel(image, 12, 100), kWhite);  // nothing left where it was
  // The unselected facet stays at x 0..25, y 25..50.
  EXPECT_EQ(pixel(image, 12, 25), kBlack);
  EXPECT_EQ(pixel(image, 12, 50), kBlack);
}

TEST(ViewComposer, MirroredFrameDrawsTheSelectionMirroredAndAFlatSourceDoesNotDivideByZero) {
  UvFacet facet;
  facet.corners = {{0.0f, 0.0f, true}, {0.5f, 0.0f, true}, {0.0f, 0.5f, true}};
  ModelStore store = uvModel({facet});
  SelectionState selection;
  selection.selectionActive = true;
  selection.selectMethod = SelectMethod::ByVertex;
  selection.source = {0.5f, 0.0f, 0.5f, 1.0f};  // left and right swapped: mirrored
  selection.target = {0.0f, 0.5f, 0.5f, 1.0f};
  QImage image = compose(store, selection, 101, 101);
  // u = 0 maps to x = 50, u = 0.5 to x = 0: the right angle is now at x = 50.
  EXPECT_EQ(pixel(image, 50, 75), kBlack);
  EXPECT_EQ(pixel(image, 25, 100), kBlack);

  selection.source = {0.25f, 0.25f, 0.0f, 0.0f};  // zero width and height
  image = compose(store, selection, 101, 101);
  EXPECT_EQ(image.size(), QSize(101, 101));
}

TEST(ViewComposer, HiddenCornerEndsItsFacetAsAnOpenLineAndAHiddenFirstCornerHidesIt) {
  UvFacet open = squareFacet(0.1f, 0.1f, 0.4f, 0.4f);
  open.corners[2].hidden = true;  // (0.4, 0.4): lines 0-1 only... and no closing line
  UvFacet gone = squareFacet(0.6f, 0.6f, 0.9f, 0.9f);
  gone.corners[0].hidden = true;
  ModelStore store = uvModel({open, gone, squareFacet(0.6f, 0.1f, 0.9f, 0.4f)});
  const QImage image = compose(store, SelectionState{}, 101, 101);
  EXPECT_EQ(pixel(image, 25, 90), kBlack);              // bottom edge of the open facet
  EXPECT_EQ(pixel(image, 10, 75), kWhite);              // its closing edge is missing
  EXPECT_EQ(pixel(image, 25, 60), kWhite);              // and its top edge
  EXPECT_EQ(countOnRow(image, 10, 55, 95, kBlack), 0);  // the hidden facet
  EXPECT_EQ(pixel(image, 75, 90), kBlack);              // the facet after them is whole
  EXPECT_EQ(pixel(image, 75, 60), kBlack);
}

bool hintPixelsPresent(const QImage& image) {
  // The hint's text is black; the map in these tests lies outside the rows
  // around the middle where the four lines go.
  const int middle = image.height() / 2;
  for (int y = middle - 40; y < middle + 40; ++y)
    if (countOnRow(image, y, 0, image.width() - 1, kBlack) > 0) return true;
  return false;
}

struct HintCase {
  const char* name;
  std::vector<UvFacet> facets;
  bool hintDue;
};

TEST(ViewComposer, HintAppearsExactlyWhenNoTestedCornerHasCoordinates) {
  UvFacet noUv;
  noUv.corners = {{kNoUvU, kNoUvV}, {kNoUvU, kNoUvV}, {kNoUvU, kNoUvV}};
  UvFacet hiddenMapped = squareFacet(0.0f, 0.95f, 0.05f, 1.0f);
  for (UvCorner& corner : hiddenMapped.corners) corner.hidden = true;
  const HintCase cases[] = {
      {"no texture coordinates at all", {noUv, noUv}, true},
      {"empty stream", {}, true},
      {"mapped facet near the top", {squareFacet(0.0f, 0.95f, 0.05f, 1.0f)}, false},
      {"only hidden corners have coordinates", {noUv, hiddenMapped}, false},
  };
  for (const HintCase& c : cases) {
    const ModelStore store = uvModel(c.facets);
    CompositionReport report;
    const QImage image = compose(store, SelectionState{}, 300, 200, &report);
    EXPECT_EQ(report.hintShown, c.hintDue) << c.name;
    EXPECT_EQ(hintPixelsPresent(image), c.hintDue) << c.name;
  }
}

TEST(ViewComposer, HintLinesAreCentredAroundTheMiddleOfTheView) {
  const ModelStore store = uvModel({});
  const QImage image = compose(store, SelectionState{}, 400, 300);
  int top = -1, bottom = -1, left = 400, right = -1;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (pixel(image, x, y) != kWhite) {
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  const int lineHeight = QFontMetrics(noUvHintFont(1.0)).height();
  EXPECT_GE(top, 150 - 2 * lineHeight);
  EXPECT_LE(bottom, 150 + 2 * lineHeight);
  EXPECT_LE(std::abs((left + right) - 400), 4);  // centred within rounding
}

TEST(ViewComposer, EmptyViewIsGreyWithTheEmblemCentredOrPinnedToTheCorner) {
  const QImage emblem = emblemPicture().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(emblem.size(), QSize(kEmblemWidth, kEmblemHeight));
  struct Case {
    int width, height;
    QPoint origin;
  };
  const Case cases[] = {
      {400, 300, {120, 43}}, {161, 214, {0, 0}}, {100, 100, {0, 0}}, {600, 150, {220, 0}}};
  const ModelStore empty;
  for (const Case& c : cases) {
    CompositionReport report;
    const QImage image = compose(empty, SelectionState{}, c.width, c.height, &report);
    EXPECT_TRUE(report.emblemShown);
    EXPECT_EQ(emblemOrigin(c.width, c.height), c.origin);
    for (int y = 0; y < kEmblemHeight && c.origin.y() + y < c.height; y += 7)
      for (int x = 0; x < kEmblemWidth && c.origin.x() + x < c.width; x += 5)
        ASSERT_EQ(pixel(image, c.origin.x() + x, c.origin.y() + y), pixel(emblem, x, y))
            << c.width << "x" << c.height << " at " << x << "," << y;
    if (c.origin.x() > 0) {
      EXPECT_EQ(pixel(image, c.origin.x() - 1, c.height / 2), 0x6D6D6Du);
    }
    if (c.origin.y() > 0) {
      EXPECT_EQ(pixel(image, c.width / 2, c.origin.y() - 1), 0x6D6D6Du);
    }
  }
}

TEST(ViewComposer, BackgroundPictureIsStretchedUnderTheMapAndReplacesTheEmptyView) {
  QImage picture(2, 2, QImage::Format_RGB32);
  picture.setPixel(0, 0, 0xFF102030);
  picture.setPixel(1, 0, 0xFF405060);
  picture.setPixel(0, 1, 0xFF708090);
  picture.setPixel(1, 1, 0xFFA0B0C0);
  const ModelStore empty;
  const QImage plain = compose(empty, SelectionState{}, 40, 20, nullptr, &picture);
  EXPECT_EQ(pixel(plain, 5, 5), 0x102030u);
  EXPECT_EQ(pixel(plain, 39, 0), 0x405060u);
  EXPECT_EQ(pixel(plain, 0, 19), 0x708090u);
  EXPECT_EQ(pixel(plain, 21, 11), 0xA0B0C0u);  // no filtering between pixels

  const ModelStore store = uvModel({squareFacet(0.25f, 0.25f, 0.75f, 0.75f, 1)});
  const QImage mapped = compose(store, SelectionState{}, 41, 21, nullptr, &picture);
  EXPECT_EQ(pixel(mapped, 2, 2), 0x102030u);
  EXPECT_EQ(pixel(mapped, 20, 5), kBlack);  // the outline over it
}

TEST(ViewComposer, CoordinatesFarOutsideAreClippedAndStrangeValuesDrawSafely) {
  const float huge = std::numeric_limits<float>::max();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  UvFacet farAway;
  // From (0.5, 0.5) straight right to u = 1e9: a horizontal line at y = 50.
  farAway.corners = {{0.5f, 0.5f}, {1e9f, 0.5f}, {1e9f, 0.5f}};
  UvFacet strange;
  strange.corners = {{huge, -huge}, {nan, 0.5f}, {-huge, nan}};
  ModelStore store = uvModel({farAway, strange});
  const QImage image = compose(store, SelectionState{}, 101, 101);
  EXPECT_EQ(countOnRow(image, 50, 50, 100, kBlack), 51);
  EXPECT_EQ(pixel(image, 20, 50), kWhite);

  // A texture index outside the array draws as a corner without coordinates.
  store.facetStream[1].texVertex = 99999;
  store.facetStream[2].texVertex = -5;
  const QImage guarded = compose(store, SelectionState{}, 101, 101);
  EXPECT_EQ(guarded.size(), QSize(101, 101));
}

TEST(ViewComposer, OnePixelViewMapsEveryCornerToTheOrigin) {
  const ModelStore store = uvModel({squareFacet(0.1f, 0.1f, 0.9f, 0.9f, 1)});
  const QImage image = compose(store, SelectionState{}, 1, 1);
  ASSERT_EQ(image.size(), QSize(1, 1));
  EXPECT_EQ(pixel(image, 0, 0), kBlack);
  EXPECT_EQ(compose(store, SelectionState{}, 0, -3).size(), QSize(1, 1));
}

TEST(ViewComposer, PenChangesOnlyWhereTheColourChangesAlongTheStream) {
  std::vector<UvFacet> facets;
  for (int group : {1, 1, 1, 2, 2, 1, 1})
    facets.push_back(squareFacet(0.1f, 0.1f, 0.2f, 0.2f, group));
  ModelStore store = uvModel(facets);
  store.colorMode = 1;
  CompositionReport report;
  compose(store, SelectionState{}, 64, 64, &report);
  EXPECT_EQ(report.penChanges, 3);
  store.colorMode = 0;
  compose(store, SelectionState{}, 64, 64, &report);
  EXPECT_EQ(report.penChanges, 1);
}

TEST(ViewComposer, FrameIsDrawnOnTopOnlyWhileASelectionIsActive) {
  const ModelStore store = uvModel({squareFacet(0.6f, 0.6f, 0.9f, 0.9f)});
  SelectionState selection;
  selection.framePixels = {10, 40, 10, 30};
  ViewScene scene{store, selection, nullptr, 101, 101};
  EXPECT_EQ(pixel(composeViewWithFrame(scene), 25, 10), kWhite);
  selection.selectionActive = true;
  const QImage image = composeViewWithFrame(scene);
  EXPECT_EQ(pixel(image, 25, 10), kBlack);  // top edge
  EXPECT_EQ(pixel(image, 25, 29), kBlack);  // bottom edge, inside the rectangle
  EXPECT_EQ(pixel(image, 11, 11), kBlack);  // top-left handle, 4 x 4 inside
  EXPECT_EQ(pixel(image, 13, 13), kBlack);
  EXPECT_EQ(pixel(image, 14, 14), kWhite);
  EXPECT_EQ(pixel(image, 25, 20), kWhite);  // the inside stays clear
}

}  // namespace
}  // namespace corvina::painter
