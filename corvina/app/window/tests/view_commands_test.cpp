#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "app/application_state.h"
#include "app/canvas/picture_canvas.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "editor/background/tests/bmp_bytes.h"
#include "editor/painter/view_composer.h"
#include "testing/scripted_user_interface.h"

namespace corvina::window {
namespace {

struct Fixture {
  QTemporaryDir folder;
  ApplicationState app{folder.path().toStdString()};
  canvas::PictureCanvas canvas;
  testing::ScriptedUserInterface ui;

  Fixture() { app.canvas = &canvas; }

  std::string writeFile(const char* name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path.toStdString();
  }

  void run(int id) {
    CommandContext context{app, ui};
    ASSERT_TRUE(runCommand(context, id)) << id;
  }
};

TEST(ViewCommands, LoadingReportsABadFileAndKeepsTheOldPicture) {
  Fixture f;
  f.ui.files.push_back(f.writeFile("good.bmp", background::testing::bmpFile(4, 4, 8)));
  f.run(kCommandLoadBackground);
  EXPECT_TRUE(f.canvas.backgroundLoaded());
  ASSERT_EQ(f.ui.fileRequests.size(), 1u);
  EXPECT_EQ(f.ui.fileRequests[0].title, "Load BMP...");
  EXPECT_EQ(f.ui.fileRequests[0].initialName, "*.bmp");

  const std::string bad = f.writeFile("bad.bmp", "BM but nothing else");
  f.ui.files.push_back(bad);
  f.run(kCommandLoadBackground);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, bad + " has a bad format.");
  EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(f.canvas.background().picture().size(), QSize(4, 4));

  f.run(kCommandLoadBackground);  // cancelled dialog: nothing at all
  EXPECT_EQ(f.ui.messages.size(), 1u);
}

TEST(ViewCommands, ClearAsksOnlyWhileAPictureIsShown) {
  Fixture f;
  f.run(kCommandClearBackground);  // no picture: no question
  EXPECT_TRUE(f.ui.questions.empty());
  f.ui.files.push_back(f.writeFile("good.bmp", background::testing::bmpFile(4, 4, 24)));
  f.run(kCommandLoadBackground);
  f.run(kCommandToggleBackground);  // display off: Ctrl+C neither asks nor clears
  f.run(kCommandClearBackground);
  EXPECT_TRUE(f.ui.questions.empty());
  EXPECT_TRUE(f.canvas.backgroundLoaded());
  f.run(kCommandToggleBackground);
  f.ui.answers.push_back(Answer::No);
  f.run(kCommandClearBackground);
  ASSERT_EQ(f.ui.questions.size(), 1u);
  EXPECT_EQ(f.ui.questions[0].caption, "Confirmation");
  EXPECT_EQ(f.ui.questions[0].text, "Really clear backgroud?");
  EXPECT_TRUE(f.canvas.backgroundLoaded());
  f.ui.answers.push_back(Answer::Yes);
  f.run(kCommandClearBackground);
  EXPECT_FALSE(f.canvas.backgroundLoaded());
}

TEST(ViewCommands, HorizontalFlipOfFewColoursIsRefusedWithItsMessage) {
  Fixture f;
  f.ui.files.push_back(f.writeFile("four.bmp", background::testing::bmpFile(5, 3, 4)));
  f.run(kCommandLoadBackground);
  const QImage before = f.canvas.background().picture();
  f.run(kCommandFlipBackgroundH);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, "Function not yet supported for\n less than 256 color bitmaps");
  EXPECT_EQ(f.canvas.background().picture(), before);
  f.run(kCommandFlipBackgroundV);
  EXPECT_EQ(f.ui.messages.size(), 1u);
  EXPECT_NE(f.canvas.background().picture(), before);
}

TEST(ViewCommands, RenderWritesTheViewsOwnPixels) {
  Fixture f;
  const std::string model =
      f.writeFile("square.obj",
                  "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0.1 0.1\nvt 0.9 0.1\nvt 0.5 0.9\n"
                  "g one\nf 1/1 2/2 3/3\n");
  ASSERT_TRUE(f.app.document.openModel(model, f.ui));
  f.app.store.colorMode = 1;
  f.app.view = ViewSize{64, 48};
  const QString path = f.folder.filePath("view.png");
  f.ui.files.push_back(path.toStdString());
  const std::vector<const CommandRow*> rows = stepRows("render");
  ASSERT_EQ(rows.size(), 1u);
  CommandContext context{f.app, f.ui};
  ASSERT_TRUE(runCommand(context, *rows[0]));
  EXPECT_TRUE(f.ui.messages.size() <= 1u);  // the load's statistics at most

  const QImage written(path);
  const painter::ViewScene scene{f.app.store, f.app.document.selection(), nullptr, 64, 48};
  const QImage composed = painter::composeViewWithFrame(scene);
  ASSERT_EQ(written.size(), QSize(64, 48));
  EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), composed);
  EXPECT_EQ(composed.pixel(6, 42) & 0xFFFFFF, 0u);          // the outline at corner (0.1, 0.1)
  EXPECT_EQ(composed.pixel(32, 24) & 0xFFFFFF, 0xFFFFFFu);  // inside: white

  // A folder that cannot take the file: the error, and nothing written.
  f.ui.files.push_back(f.folder.filePath("missing/view.png").toStdString());
  const std::size_t before = f.ui.messages.size();
  ASSERT_TRUE(runCommand(context, *rows[0]));
  ASSERT_EQ(f.ui.messages.size(), before + 1);
  EXPECT_EQ(f.ui.messages.back().text, "Error writing to file");
}

}  // namespace
}  // namespace corvina::window
