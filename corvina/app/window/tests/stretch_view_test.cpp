// View > Show Stretch and Show Angle Stretch in the window: the view's fill,
// the check marks, the density pane, and the view exactly as before once
// the fill is off again.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>

#include "app/command_ids.h"
#include "app/window/main_frame.h"
#include "app/window/tests/window_fixture.h"
#include "editor/painter/stretch_fill.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

// Two unit squares, one given a quarter of the map and one half of it, and
// a right triangle given a sheared triangle in the remaining quarter.
constexpr const char* kModel =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 3 0 0\nv 3 1 0\nv 2 1 0\n"
    "v 5 0 0\nv 6 0 0\nv 5 1 0\n"
    "vt 0 0\nvt 0.5 0\nvt 0.5 0.5\nvt 0 0.5\nvt 0.5 0\nvt 1 0\nvt 1 1\nvt 0.5 1\n"
    "vt 0 0.55\nvt 0.45 0.55\nvt 0.45 1\n"
    "f 1/1 2/2 3/3 4/4\nf 5/5 6/6 7/7 8/8\nf 9/9 10/10 11/11\n";

struct Fixture : WindowFixture {
  Fixture() {
    frame.resize(400, 400);
    openModelText(kModel, "model.obj");
    frame.view().refresh();
    frame.updateCommandStates();
  }

  QImage picture() { return frame.view().composedPicture().copy(); }
  QLabel* densityPane() { return frame.statusBar()->findChild<QLabel*>("densityPane"); }
};

bool showsColor(const QImage& image, QRgb color) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) == (color & 0xFFFFFFu)) return true;
  return false;
}

TEST(StretchView, MenuEntriesFillTheViewAndShowTheDensity) {
  Fixture f;
  const QImage plain = f.picture();
  ASSERT_NE(f.densityPane(), nullptr);
  EXPECT_TRUE(f.densityPane()->isHidden());
  const QRgb areaLess = painter::stretchColor(painter::StretchKind::Area, 0.0f);
  const QRgb angleFull = painter::stretchColor(painter::StretchKind::Angle, 45.0f);

  f.frame.runCommandNumber(kCommandShowStretch);
  EXPECT_TRUE(f.frame.actionFor(kCommandShowStretch)->isChecked());
  EXPECT_FALSE(f.frame.actionFor(kCommandShowAngleStretch)->isChecked());
  const QImage area = f.picture();
  EXPECT_NE(area, plain);
  // The quarter square has less than its share: 0.25 of the map's 0.85125
  // for 1 of the surface's 2.5. Its middle shows that colour.
  const QRgb quarter =
      painter::stretchColor(painter::StretchKind::Area, static_cast<float>(0.25 / 0.85125 / 0.4));
  EXPECT_NE(quarter & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(area.pixel((area.width() - 1) / 4, (area.height() - 1) * 3 / 4), quarter);
  EXPECT_FALSE(showsColor(area, areaLess));
  EXPECT_FALSE(f.densityPane()->isHidden());
  EXPECT_EQ(f.densityPane()->text().toStdString().rfind("Texels per unit: model ", 0), 0u);

  f.frame.runCommandNumber(kCommandShowAngleStretch);
  EXPECT_FALSE(f.frame.actionFor(kCommandShowStretch)->isChecked());
  EXPECT_TRUE(f.frame.actionFor(kCommandShowAngleStretch)->isChecked());
  const QImage angle = f.picture();
  EXPECT_TRUE(showsColor(angle, angleFull));  // the sheared triangle lost 45 degrees
  EXPECT_NE(angle, area);

  // Off again: pixel for pixel the view of before, and the pane is gone.
  f.frame.runCommandNumber(kCommandShowAngleStretch);
  EXPECT_FALSE(f.frame.actionFor(kCommandShowAngleStretch)->isChecked());
  EXPECT_EQ(f.picture(), plain);
  EXPECT_TRUE(f.densityPane()->isHidden());
}

TEST(StretchView, ThePaneShowsTheSelectionsDensity) {
  Fixture f;
  f.frame.runCommandNumber(kCommandShowStretch);
  const QString modelOnly = f.densityPane()->text();
  f.frame.runCommandNumber(kCommandSelectAll);
  const QString withSelection = f.densityPane()->text();
  EXPECT_TRUE(withSelection.startsWith("Texels per unit: selection "))
      << withSelection.toStdString();
  EXPECT_TRUE(withSelection.endsWith(modelOnly.mid(modelOnly.indexOf("model"))));
}

}  // namespace
}  // namespace corvina::window
