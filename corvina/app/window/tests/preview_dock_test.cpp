// The 3D preview dock in the main window: closed at start, opened from the
// View menu, drawing the model through Qt's OpenGL widget (its framebuffer is
// read back and checked pixel by pixel), following a command and a pending
// move of the selection, and standing aside with a label where no OpenGL
// context can be made. The drawing tests need a display with OpenGL (the
// test suite runs them under Xvfb with Mesa); without one they are skipped,
// unless CORVINA_REQUIRE_OPENGL asks for a failure instead.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/command_ids.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "preview/gl/preview_widget.h"
#include "preview/preview_colors.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

// A square facing +z with the whole unit square of texture space on it.
constexpr const char* kSquare =
    "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "f 1/1 2/2 3/3 4/4\n";

struct Fixture : WindowFixture {
  Fixture() {
    openModelText(kSquare, "square.obj");
    frame.show();
    frame.view().resize(201, 201);  // view pixels 0..200: u = x / 200
    settle();
  }

  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

  void openPreview() {
    frame.runCommandNumber(kCommandPreview3d);
    settle();
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, frame.view().mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&frame.view(), &event);
  }
};

// Turns the environment variable on for one test.
class OpenGlTurnedOff {
 public:
  OpenGlTurnedOff() { setenv("CORVINA_NO_OPENGL", "1", 1); }
  ~OpenGlTurnedOff() { unsetenv("CORVINA_NO_OPENGL"); }
};

bool near(QRgb c, preview::Rgb want, int tolerance = 3) {
  return std::abs(qRed(c) - want.red) <= tolerance &&
         std::abs(qGreen(c) - want.green) <= tolerance &&
         std::abs(qBlue(c) - want.blue) <= tolerance;
}

// Whether c is a mix of a and b, as the filtered edge between two squares
// is.
bool mixOf(QRgb c, preview::Rgb a, preview::Rgb b) {
  const float t = static_cast<float>(qBlue(c) - a.blue) / static_cast<float>(b.blue - a.blue);
  if (t < -0.02f || t > 1.02f) return false;
  auto at = [&](int x, int y) { return static_cast<float>(x) + (y - x) * t; };
  return std::abs(at(a.red, b.red) - qRed(c)) <= 4 &&
         std::abs(at(a.green, b.green) - qGreen(c)) <= 4;
}

preview::Rgb highlighted(preview::Rgb c) {
  auto mix = [](int a, int b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * preview::kHighlightWeight));
  };
  return {mix(c.red, preview::kHighlightColor.red), mix(c.green, preview::kHighlightColor.green),
          mix(c.blue, preview::kHighlightColor.blue)};
}

// Counts the pixels of the middle quarter that are mixes of a and b, and
// those that are a and b exactly.
struct MiddleCounts {
  int mixes = 0, first = 0, second = 0, total = 0;
};

MiddleCounts middleOf(const QImage& picture, preview::Rgb a, preview::Rgb b) {
  MiddleCounts counts;
  const int w = picture.width(), h = picture.height();
  for (int y = h * 3 / 8; y < h * 5 / 8; ++y)
    for (int x = w * 3 / 8; x < w * 5 / 8; ++x) {
      const QRgb c = picture.pixel(x, y);
      ++counts.total;
      counts.mixes += mixOf(c, a, b);
      counts.first += near(c, a);
      counts.second += near(c, b);
    }
  return counts;
}

TEST(PreviewDock, ClosedAtStartAndOpenedFromTheViewMenu) {
  Fixture f;
  EXPECT_TRUE(f.frame.previewDock().isHidden());
  EXPECT_EQ(f.frame.previewDock().widget(), nullptr);  // nothing made until it opens
  QAction* entry = f.frame.actionFor(kCommandPreview3d);
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->isCheckable());
  EXPECT_FALSE(entry->isChecked());
  f.openPreview();
  EXPECT_FALSE(f.frame.previewDock().isHidden());
  EXPECT_TRUE(entry->isChecked());
  f.frame.runCommandNumber(kCommandPreview3d);
  EXPECT_TRUE(f.frame.previewDock().isHidden());
  EXPECT_FALSE(entry->isChecked());
}

TEST(PreviewDock, WithoutOpenGlALabelSaysSoAndTheWindowWorksOn) {
  OpenGlTurnedOff off;
  Fixture f;
  f.openPreview();
  PreviewDock& dock = f.frame.previewDock();
  EXPECT_EQ(dock.previewWidget(), nullptr);
  ASSERT_NE(dock.unavailableLabel(), nullptr);
  EXPECT_TRUE(dock.unavailableLabel()->text().contains(QStringLiteral("OpenGL")));
  EXPECT_TRUE(dock.unavailableLabel()->text().contains(QStringLiteral("CORVINA_NO_OPENGL")));
  // The texture map and the commands carry on as without the dock.
  f.frame.runCommandNumber(kCommandSelectAll);
  EXPECT_TRUE(f.app.document.selection().selectionActive);
  const QImage& map = f.frame.view().composedPicture();
  EXPECT_EQ(map.size(), f.frame.view().devicePixelSize());
  dock.modelChanged();  // nothing to draw, nothing breaks
}

TEST(PreviewDock, TheFramebufferShowsTheCheckerTheHighlightAndAPendingMove) {
  Fixture f;
  f.openPreview();
  PreviewDock& dock = f.frame.previewDock();
  preview::PreviewWidget* widget = dock.previewWidget();
  if (widget == nullptr) {
    const QString why = dock.unavailableLabel() != nullptr ? dock.unavailableLabel()->text() : "";
    if (std::getenv("CORVINA_REQUIRE_OPENGL") != nullptr)
      FAIL() << "no OpenGL for the preview: " << why.toStdString();
    GTEST_SKIP() << "no OpenGL for the preview here: " << why.toStdString();
  }
  widget->resize(120, 90);
  widget->camera().yawDegrees = 0;
  widget->camera().pitchDegrees = 0;
  widget->frameModel();
  f.settle();

  QImage picture = widget->grabFramebuffer();
  ASSERT_FALSE(picture.isNull());
  ASSERT_TRUE(widget->failure().isEmpty()) << widget->failure().toStdString();
  MiddleCounts checker = middleOf(picture, preview::kCheckerLight, preview::kCheckerDark);
  EXPECT_EQ(checker.mixes, checker.total);
  EXPECT_GT(checker.first, checker.total / 5);
  EXPECT_GT(checker.second, checker.total / 5);
  for (const QPoint corner : {QPoint(0, 0), QPoint(picture.width() - 1, picture.height() - 1)})
    EXPECT_TRUE(near(picture.pixel(corner), preview::kBackgroundColor));

  // A command: the preview follows at its next frame.
  f.frame.runCommandNumber(kCommandSelectAll);
  ASSERT_TRUE(f.app.document.selection().selectionActive);
  picture = widget->grabFramebuffer();
  const MiddleCounts selected =
      middleOf(picture, highlighted(preview::kCheckerLight), highlighted(preview::kCheckerDark));
  EXPECT_EQ(selected.mixes, selected.total);
  EXPECT_GT(selected.first, selected.total / 5);
  EXPECT_TRUE(near(picture.pixel(0, 0), preview::kBackgroundColor));
  EXPECT_TRUE(widget->lastUpload().flags);
  EXPECT_FALSE(widget->lastUpload().geometry);

  // A drag of the selection frame in the map: while it lasts the preview
  // shows the pending move, sending only the texture coordinates.
  const QImage before = picture;
  f.mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, {130, 100}, Qt::LeftButton);
  f.settle();
  picture = widget->grabFramebuffer();
  EXPECT_TRUE(widget->lastUpload().texCoords);
  EXPECT_FALSE(widget->lastUpload().flags);
  EXPECT_FALSE(widget->lastUpload().geometry);
  EXPECT_NE(picture, before);
  f.mouse(QEvent::MouseButtonRelease, {130, 100}, Qt::NoButton);
}

}  // namespace
}  // namespace corvina::window
