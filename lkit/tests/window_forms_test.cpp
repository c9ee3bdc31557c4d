// The windows under the offscreen platform, driven as a user would, with a
// script of answers for the prompts.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>

#include "app/about_form.h"
#include "app/config_form.h"
#include "app/drives.h"
#include "app/elided_label.h"
#include "app/folder_picker.h"
#include "app/project_name.h"
#include "app/search_form.h"
#include "app/search_form_layout.h"
#include "app/usage.h"
#include "core/ini_profile.h"
#include "tests/temp_tree.h"

namespace lkit {
namespace {

// Answers prompts from a queue and records what was asked.
class ScriptedPrompts : public UserPrompts {
 public:
  Answer askYesNoCancel(QWidget*, const QString& text, const QString& title) override {
    asked.push_back(text + " | " + title);
    Answer next = answers.empty() ? Answer::Cancel : answers.front();
    if (!answers.empty()) answers.pop_front();
    return next;
  }
  std::optional<QString> inputBox(QWidget*, const QString& prompt, const QString& title) override {
    asked.push_back(prompt + " | " + title);
    if (inputs.empty()) return std::nullopt;
    QString next = inputs.front();
    inputs.pop_front();
    return next;
  }
  void message(QWidget*, const QString& text, const QString& title, MessageKind kind) override {
    told.push_back(text + " | " + title);
    kinds.push_back(kind);
  }
  std::deque<Answer> answers;
  std::deque<QString> inputs;
  std::vector<QString> asked;
  std::vector<QString> told;
  std::vector<MessageKind> kinds;
};

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.file("game/main.cs");
    tree.file("game/scripts/a.cs");
    tree.file("game/scripts/b.cs");
    tree.file("game/ui/x.gui");
    tree.file("game/ui/y.gui");
    tree.file("lkit.ini",
              "[Misc]\r\nName=proj\r\nBase=" + tree.path("game") +
                  "\r\n[Descrip]\r\n0=Scripts\r\n1=GUI\r\n[DescripCheck]\r\n0=True\r\n1=False\r\n"
                  "[Type]\r\n0=cs\r\n1=gui\r\n[Exclude]\r\n0=CVS\r\n");
    form = std::make_unique<SearchForm>(tree.path("lkit.ini"), &prompts);
    form->setPause([this](int ms) { pausedMs += ms; });
    config = form->configForm();
  }
  QStringList rows(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  testing::TempTree tree;
  ScriptedPrompts prompts;
  std::unique_ptr<SearchForm> form;
  ConfigForm* config = nullptr;
  int pausedMs = 0;
};

TEST_F(Windows, OpenWithTheSavedSettings) {
  EXPECT_EQ(form->windowTitle(), "Loomkit For Torque");
  EXPECT_EQ(config->windowTitle(), "Loomkit For Torque");
  EXPECT_EQ(form->lblProjectName->text(), "proj");
  EXPECT_EQ(form->Dir1->path(), QString::fromStdString(tree.path("game")));
  EXPECT_EQ(form->lblBaseDir->text(), QString::fromStdString(tree.path("game") + "/"));
  EXPECT_EQ(rows(config->lstDescrip), (QStringList{"Scripts", "GUI"}));
  EXPECT_EQ(rows(config->lstType), (QStringList{"cs", "gui"}));
  EXPECT_EQ(config->lstDescrip->item(1)->checkState(), Qt::Unchecked);
  EXPECT_EQ(rows(config->lstExclude), QStringList{"CVS"});
  EXPECT_FALSE(form->flags().configChanged);
  EXPECT_EQ(form->cmdStartAbort->text(), "Start");
  EXPECT_EQ(form->cmdStartAbort->palette().color(QPalette::Button), QColor(128, 255, 128));
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(Windows, AddingCategoriesStopsAfter32) {
  prompts.inputs = {"", "Name", ""};  // empty name; then an empty type
  config->cmdAddCat->click();
  config->cmdAddCat->click();
  EXPECT_EQ(config->lstDescrip->count(), 2);
  EXPECT_FALSE(form->flags().configChanged);
  ASSERT_GE(prompts.asked.size(), 3u);
  EXPECT_EQ(prompts.asked[0], "Type in the Category Name | LKIT Organization Categories");
  EXPECT_EQ(prompts.asked[2], "Type in the Category Type | LKIT Organization Categories");

  for (int i = 2; i < 33; ++i) {
    prompts.inputs = {QString("C%1").arg(i), "t"};
    ASSERT_TRUE(config->cmdAddCat->isEnabled()) << i;
    config->cmdAddCat->click();
  }
  EXPECT_EQ(config->lstDescrip->count(), 33);
  EXPECT_EQ(config->lstDescrip->item(32)->checkState(), Qt::Checked);
  EXPECT_FALSE(config->cmdAddCat->isEnabled());
  EXPECT_TRUE(form->flags().configChanged);
}

TEST_F(Windows, AutoOrganizeDisablesTheCategoryControls) {
  QList<QWidget*> controls = {config->frmOrg, config->lstDescrip, config->lstType,
                              config->cmdRemCat, config->cmdAddCat};
  config->chkAutoOrg->click();
  for (QWidget* w : controls) EXPECT_FALSE(w->isEnabled());
  EXPECT_TRUE(form->flags().configChanged);
  config->chkAutoOrg->click();
  for (QWidget* w : controls) EXPECT_TRUE(w->isEnabled());
}

TEST_F(Windows, UpAndDownMovePairsWithoutMarkingAChange) {
  config->cmdUp->click();  // nothing selected
  EXPECT_EQ(rows(config->lstDescrip), (QStringList{"Scripts", "GUI"}));
  config->lstDescrip->setCurrentRow(1);
  EXPECT_EQ(config->lstType->currentRow(), 1);
  config->cmdUp->click();
  EXPECT_EQ(rows(config->lstDescrip), (QStringList{"GUI", "Scripts"}));
  EXPECT_EQ(rows(config->lstType), (QStringList{"gui", "cs"}));
  EXPECT_EQ(config->lstDescrip->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(config->lstDescrip->currentRow(), 0);
  config->cmdUp->click();  // first row: nothing
  EXPECT_EQ(rows(config->lstDescrip), (QStringList{"GUI", "Scripts"}));
  config->cmdDown->click();
  EXPECT_EQ(rows(config->lstType), (QStringList{"cs", "gui"}));
  EXPECT_FALSE(form->flags().configChanged);
  config->lstType->setCurrentRow(0);
  config->cmdRemCat->click();
  EXPECT_EQ(rows(config->lstDescrip), QStringList{"GUI"});
  EXPECT_EQ(rows(config->lstType), QStringList{"gui"});
  EXPECT_TRUE(form->flags().configChanged);
}

TEST_F(Windows, LoadAsksFirstAndCancelKeepsTheLists) {
  prompts.inputs = {"Old folders"};
  config->cmdAddFolder->click();
  EXPECT_EQ(prompts.asked.back(),
            "Type in the name of a folder you want to exclude from the LKIT project creation "
            "search | LKIT Folder Exclusion");
  prompts.answers = {Answer::Cancel};
  config->cmdLoadSettings->click();
  EXPECT_EQ(rows(config->lstExclude), (QStringList{"CVS", "Old folders"}));
  EXPECT_EQ(prompts.asked.back(),
            "You have made changes to the configuration. Do you want to save them first ? | "
            "Loomkit For Torque");
  prompts.answers = {Answer::Yes};
  config->cmdLoadSettings->click();  // saves, then loads what it saved
  EXPECT_EQ(rows(config->lstExclude), (QStringList{"CVS", "Old folders"}));
  EXPECT_FALSE(form->flags().configChanged);
  EXPECT_EQ(IniProfile::load(tree.path("lkit.ini")).read("Exclude", "1", "-", 128), "Old folders");
}

TEST_F(Windows, QuitPromptsOnlyWhenChanged) {
  form->show();
  config->chkSort->click();
  prompts.answers = {Answer::Cancel};
  form->cmdExit->click();
  EXPECT_TRUE(form->isVisible());
  prompts.answers = {Answer::Yes};
  form->cmdExit->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(prompts.asked.back(), "Save configuration changes ? | Loomkit For Torque");
  EXPECT_EQ(IniProfile::load(tree.path("lkit.ini")).read("Flags", "Sort", "-", 128), "1");
}

TEST_F(Windows, StartRunsTheWholeJob) {
  QString captionDuring;
  QColor listDuring;
  QTimer::singleShot(0, [&] {
    captionDuring = form->cmdStartAbort->text();
    listDuring = form->FindFilesResults->palette().color(QPalette::Base);
  });
  form->cmdStartAbort->click();
  EXPECT_EQ(captionDuring, "Abort");
  EXPECT_EQ(listDuring, QColor(255, 255, 0));
  std::string d = tree.path("game") + "/";
  EXPECT_EQ(rows(form->FindFilesResults),
            (QStringList{QString::fromStdString("GUI=" + d + "ui/x.gui"),
                         QString::fromStdString("GUI=" + d + "ui/y.gui"),
                         QString::fromStdString("Scripts=" + d + "main.cs"),
                         QString::fromStdString("Scripts=" + d + "scripts/a.cs"),
                         QString::fromStdString("Scripts=" + d + "scripts/b.cs")}));
  EXPECT_EQ(form->cmdStartAbort->text(), "Start");
  EXPECT_EQ(form->cmdStartAbort->palette().color(QPalette::Button), QColor(128, 255, 128));
  EXPECT_NE(form->FindFilesResults->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(pausedMs, 4000);
  EXPECT_EQ(IniProfile::load(d + "proj.prj").read("Files - Scripts", "2", "-", 128),
            "scripts/b.cs");
}

TEST_F(Windows, AbortReachesARunningSearch) {
  for (int i = 0; i < 30; ++i) tree.file("game/more/f" + std::to_string(i) + "/z.cs");
  QTimer::singleShot(0, [&] { form->cmdStartAbort->click(); });
  form->cmdStartAbort->click();
  EXPECT_LT(form->FindFilesResults->count(), 35);
  EXPECT_EQ(form->cmdStartAbort->text(), "Start");
  EXPECT_FALSE(form->flags().abortSearch);
  EXPECT_FALSE(form->jobRunning());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(tree.path("game/proj.prj"))));
}

TEST_F(Windows, ContextMenuCaptionsFollowTheSelection) {
  for (int i = 0; i < 3001; ++i) form->FindFilesResults->addItem(QString("row %1").arg(i, 5));
  struct Case {
    int selected;
    QString caption;
    bool enabled;
  };
  const Case cases[] = {
      {0, "Copy selected item(s) (up to 3000) to clipboard", false},
      {1, "Copy selected item to clipboard", true},
      {2, "Copy selected items (up to 3000, they are 2) to clipboard", true},
      {3000, "Copy selected items (up to 3000, they are 3000) to clipboard", true},
      {3001, "Copy selected items (up to 3000, they are 3001) to clipboard", false}};
  for (const Case& c : cases) {
    form->FindFilesResults->clearSelection();
    for (int i = 0; i < c.selected; ++i) form->FindFilesResults->item(i)->setSelected(true);
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(form->FindFilesResults->viewport(), &press);
    EXPECT_EQ(form->mnuCopy->text(), c.caption) << c.selected;
    EXPECT_EQ(form->mnuCopy->isEnabled(), c.enabled) << c.selected;
    form->popmenu->hide();
  }
}

TEST_F(Windows, CopyJoinsSelectedRowsWithCrLfAndDoubleClickSelectsAll) {
  form->FindFilesResults->addItems({"r1", "r2", "r3", "r4", "r5", "r6"});
  form->FindFilesResults->item(1)->setSelected(true);
  form->FindFilesResults->item(4)->setSelected(true);
  form->mnuCopy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "r2\r\nr5");
  form->FindFilesResults_DblClick();
  EXPECT_EQ(form->FindFilesResults->selectedItems().size(), 6);
}

TEST_F(Windows, DrivePickerMovesTheFolderPicker) {
  // The volumes are given, so the case does not depend on how this machine
  // reports its own: a root-only list, roots with and without a trailing
  // separator, and a list that does not hold the folder's volume.
  const QString top = QString::fromStdString(tree.root());
  const QString game = QString::fromStdString(tree.path("game"));
  struct Case {
    const char* label;
    QStringList volumes;
    QStringList entries;
    QString current;
  };
  const Case cases[] = {
      {"root only", {"/"}, {"/"}, "/"},
      {"none reported", {}, {"/"}, "/"},
      {"trailing separator", {"/", top + "/"}, {"/", top + "/"}, top + "/"},
      {"without separator", {top, "/"}, {top, "/"}, top},
      {"volume of the folder missing", {top + "/elsewhere"}, {"/", top + "/elsewhere"}, "/"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(form->Dir1->setPath(game)) << c.label;
    form->setDrives(c.volumes);
    QStringList entries;
    for (int i = 0; i < form->Drive1->count(); ++i) entries << form->Drive1->itemText(i);
    EXPECT_EQ(entries, c.entries) << c.label;
    EXPECT_EQ(form->Drive1->currentText(), c.current) << c.label;
    EXPECT_EQ(form->Dir1->path(), game) << c.label;

    // Choosing each drive moves the picker to its root; the base folder
    // label shows the picker's path, with no separator added or kept.
    for (int i = form->Drive1->count() - 1; i >= 0; --i) {
      const QString root = form->Drive1->itemText(i);
      if (i == form->Drive1->currentIndex() || !QDir(root).exists()) continue;
      form->Drive1->setCurrentIndex(i);
      EXPECT_EQ(form->Dir1->path(), QDir::cleanPath(root)) << c.label;
      EXPECT_EQ(form->lblBaseDir->text(), QDir::cleanPath(root)) << c.label;
    }
    // Back at the folder, the label reads the same whichever drive was chosen last.
    ASSERT_TRUE(form->Dir1->setPath(game)) << c.label;
    EXPECT_EQ(form->lblBaseDir->text(), game) << c.label;
    EXPECT_EQ(form->lblBaseDir->toolTip(), game) << c.label;
    ASSERT_TRUE(form->Dir1->setPath(game + "/")) << c.label;
    EXPECT_EQ(form->lblBaseDir->text(), game) << c.label;
  }
  EXPECT_FALSE(form->Dir1->setPath(QString::fromStdString(tree.path("nothing here"))));
  EXPECT_EQ(form->Dir1->path(), game);
}

TEST_F(Windows, LongBaseFolderIsElidedInTheMiddle) {
  const std::string deep = tree.folder(
      "game/a_folder_with_a_long_name/another_folder_with_a_long_name/the_scripts_folder");
  ASSERT_TRUE(form->Dir1->setPath(QString::fromStdString(deep)));
  const QString shown = form->lblBaseDir->shownText();
  EXPECT_EQ(form->lblBaseDir->toolTip(), QString::fromStdString(deep));
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(shown.startsWith(QString::fromStdString(tree.root()).left(4))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("folder")) << shown.toStdString();
}

// `inner`'s rectangle in `outer`'s coordinates.
QRect placeIn(QWidget* inner, QWidget* outer) {
  return QRect(inner->mapTo(outer, QPoint(0, 0)), inner->size());
}

QScrollArea* scrollOf(QWidget* window) {
  return window->findChild<QScrollArea*>();
}

TEST_F(Windows, ListsAreInViewAfterAJobAndTakeTheRoom) {
  form->show();
  const QSize first = form->size();
  QWidget* viewport = scrollOf(form.get())->viewport();
  QList<QListWidget*> lists = {form->FindFilesResults, form->lstGroup, form->lstDirs};
  // Before any job the lists lie beyond the first client area.
  for (QListWidget* shown : lists) {
    EXPECT_FALSE(viewport->rect().contains(placeIn(shown, viewport)));
  }
  form->cmdStartAbort->click();
  QApplication::processEvents();
  EXPECT_GE(form->width(), first.width());
  EXPECT_GE(form->height(), first.height());
  QList<QSize> before;
  for (QListWidget* shown : lists) {
    EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    EXPECT_TRUE(viewport->rect().contains(placeIn(shown, viewport)))
        << viewport->height() << " " << placeIn(shown, viewport).bottom() << " "
        << form->statusBar()->height() << " " << form->height();
    EXPECT_TRUE(form->rect().contains(placeIn(shown, form.get())));
    before << shown->size();
  }
  EXPECT_GT(form->FindFilesResults->count(), 0);

  form->resize(form->width() + 300, form->height() + 200);
  QApplication::processEvents();
  for (int i = 0; i < lists.size(); ++i) {
    EXPECT_TRUE(viewport->rect().contains(placeIn(lists[i], viewport))) << i;
    EXPECT_GT(lists[i]->width(), before[i].width()) << i;
    EXPECT_GT(lists[i]->height(), before[i].height()) << i;
  }
  // The working lists stay out of sight at any size.
  EXPECT_FALSE(form->FindFilesTmpResults->isVisible());
  EXPECT_FALSE(form->FindFilesTmpDirs->isVisible());

  // Made small, the window scrolls to every control.
  form->resize(300, 200);
  QApplication::processEvents();
  QScrollArea* scroll = scrollOf(form.get());
  EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
  EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
  scroll->ensureWidgetVisible(form->lstDirs, 0, 0);
  EXPECT_TRUE(viewport->rect().intersects(placeIn(form->lstDirs, viewport)));
}

// Pairs of visible sibling controls under `parent` that overlap, and
// controls that reach beyond their parent.
QStringList overlaps(QWidget* parent) {
  QStringList found;
  QList<QWidget*> children;
  for (QObject* child : parent->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control && !control->isHidden() && !control->isWindow()) children << control;
  }
  for (int i = 0; i < children.size(); ++i) {
    if (!parent->rect().contains(children[i]->geometry())) {
      found << children[i]->metaObject()->className() + QString(" leaves its parent");
    }
    for (int j = i + 1; j < children.size(); ++j) {
      if (children[i]->geometry().intersects(children[j]->geometry())) {
        found << QString("%1 '%2' covers %3 '%4'")
                     .arg(children[i]->metaObject()->className())
                     .arg(children[i]->property("text").toString())
                     .arg(children[j]->metaObject()->className())
                     .arg(children[j]->property("text").toString());
      }
    }
  }
  return found;
}

TEST_F(Windows, ConfigurationControlsDoNotCoverOneAnother) {
  config->show();
  QApplication::processEvents();
  for (QWidget* parent : {config->cmdUp->parentWidget(), static_cast<QWidget*>(config->frmOrg),
                          static_cast<QWidget*>(config->Frame3)}) {
    EXPECT_EQ(overlaps(parent).join(", ").toStdString(), "") << parent->metaObject()->className();
  }
  // The lists of the main window cover no other control either.
  for (QListWidget* shown : {form->FindFilesResults, form->lstGroup, form->lstDirs}) {
    for (QObject* other : shown->parentWidget()->children()) {
      auto* control = qobject_cast<QWidget*>(other);
      if (control == nullptr || control == shown || control->isHidden()) continue;
      EXPECT_FALSE(shown->geometry().intersects(control->geometry()))
          << control->metaObject()->className();
    }
  }
}

TEST_F(Windows, UpAndDownAreReachable) {
  config->show();
  QApplication::processEvents();
  EXPECT_EQ(config->size(), QSize(513, 519));
  QScrollArea* scroll = scrollOf(config);
  QWidget* viewport = scroll->viewport();
  // At the first size the window scrolls down to the buttons, and only down.
  EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
  EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(viewport->rect().contains(placeIn(config->cmdDown, viewport)));
  scroll->ensureWidgetVisible(config->cmdDown, 0, 0);
  for (QPushButton* button : {config->cmdUp, config->cmdDown}) {
    EXPECT_TRUE(viewport->rect().contains(placeIn(button, viewport)))
        << button->text().toStdString();
  }
  // Enlarged, the window shows them without scrolling.
  config->resize(540, 700);
  QApplication::processEvents();
  EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
  EXPECT_TRUE(viewport->rect().contains(placeIn(config->cmdDown, viewport)));
}

TEST_F(Windows, NamesWithLineBreaksAreCountedAfterAJob) {
  tree.file("game/bad\nname.cs");
  tree.file("game/odd\rfolder/inside.cs");
  form->cmdStartAbort->click();
  EXPECT_TRUE(form->lblOutcome->text().endsWith(
      "2 files and folders left out: their names hold a line break."))
      << form->lblOutcome->text().toStdString();
  EXPECT_EQ(form->FindFilesResults->count(), 5);
}

TEST_F(Windows, AboutSavesItsPictureAsABitmap) {
  frmAbout* about = form->aboutForm();
  EXPECT_EQ(about->windowTitle(), "About Search");
  about->setSaveFolder(QString::fromStdString(tree.root()));
  about->cmdSave->click();
  EXPECT_EQ(about->cmdSave->text(), "Done");
  std::string bytes = testing::readFile(tree.path("Search About.bmp"));
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  about->cmdSave->click();
  EXPECT_EQ(about->cmdSave->text(), "Save");
  about->resize(600, 400);
  about->show();
  EXPECT_GT(about->cmdSave->geometry().bottom(), 300);
}

TEST_F(Windows, ScreenshotsWhenAsked) {
  // With LKIT_SCREENSHOT_DIR set, the windows are saved as pictures before
  // and after a search and at a small and a large size, for a person to look at.
  const QByteArray folder = qgetenv("LKIT_SCREENSHOT_DIR");
  auto shoot = [&](QWidget* window, const char* name) {
    QApplication::processEvents();
    const QImage picture = window->grab().toImage();
    EXPECT_EQ(picture.size(), window->size() * picture.devicePixelRatio()) << name;
    if (!folder.isEmpty()) picture.save(QString::fromUtf8(folder) + "/" + name + ".png");
  };
  form->show();
  config->show();
  shoot(form.get(), "lkit-main-first");
  shoot(config, "lkit-config-first");
  form->cmdStartAbort->click();
  shoot(form.get(), "lkit-main-after-search");
  form->resize(1000, 640);
  config->resize(620, 700);
  shoot(form.get(), "lkit-main-large");
  shoot(config, "lkit-config-large");
  form->resize(320, 220);
  config->resize(300, 260);
  shoot(form.get(), "lkit-main-small");
  shoot(config, "lkit-config-small");
  shoot(form->aboutForm(), "lkit-about");

  // A failed write: the message goes to the scripted prompts, the status bar keeps it.
  form->resize(760, 560);
  QFile::remove(QString::fromStdString(tree.path("game/proj.prj")));
  tree.folder("game/proj.prj");
  form->cmdStartAbort->click();
  EXPECT_TRUE(form->lblOutcome->text().startsWith("Could not write "));
  shoot(form.get(), "lkit-main-failed-write");
  shoot(form->Dir1, "lkit-folder-picker");
  if (folder.isEmpty()) return;  // the limit needs 32,001 files: only when pictures are wanted
  for (int i = 0; i <= 32000; ++i) tree.file("big/f" + std::to_string(100000 + i) + ".cs", "");
  ASSERT_TRUE(form->Dir1->setPath(QString::fromStdString(tree.path("big"))));
  form->cmdStartAbort->click();
  shoot(form.get(), "lkit-main-limit");
}

TEST_F(Windows, QuitDuringASearchWritesNothingAndAbortWritesWhatWasFound) {
  for (int i = 0; i < 30; ++i) tree.file("game/more/f" + std::to_string(i) + "/z.cs");
  const std::string project = tree.path("game/proj.prj");
  struct Case {
    const char* label;
    std::function<void(SearchForm&)> during;
    bool written;
  };
  const Case cases[] = {
      {"Quit", [](SearchForm& f) { f.cmdExit->click(); }, false},
      {"File, Exit", [](SearchForm& f) { f.mnuExit_Click(); }, false},
      {"window closed", [](SearchForm& f) { f.close(); }, false},
      {"Abort", [](SearchForm& f) { f.cmdStartAbort->click(); }, true},
  };
  for (const Case& c : cases) {
    tree.file("game/proj.prj", "a good project file");
    SearchForm window(tree.path("lkit.ini"), &prompts);
    window.setPause([](int) {});
    window.show();
    QTimer::singleShot(0, &window, [&] { c.during(window); });
    window.cmdStartAbort->click();
    EXPECT_LT(window.FindFilesResults->count(), 35) << c.label;
    EXPECT_EQ(testing::readFile(project) != "a good project file", c.written) << c.label;
    EXPECT_EQ(window.isVisible(), c.written) << c.label;
    EXPECT_FALSE(window.jobRunning()) << c.label;
  }
}

TEST_F(Windows, AFailedSaveSaysSoAndKeepsTheChanges) {
  // The configuration's place is taken by a folder, so every save fails.
  const std::string blocked = tree.folder("blocked/lkit.ini");
  struct Case {
    const char* label;
    std::function<void(SearchForm&, ConfigForm&)> act;
    std::deque<Answer> answers;
    bool stillOpen;
  };
  const Case cases[] = {
      {"Save", [](SearchForm&, ConfigForm& c) { c.cmdSaveSettings->click(); }, {}, true},
      {"Quit, Yes", [](SearchForm& f, ConfigForm&) { f.cmdExit->click(); }, {Answer::Yes}, true},
      {"Load, Yes",
       [](SearchForm&, ConfigForm& c) { c.cmdLoadSettings->click(); },
       {Answer::Yes},
       true},
  };
  for (const Case& c : cases) {
    ScriptedPrompts told;
    SearchForm window(blocked, &told);
    window.show();
    ConfigForm& settings = *window.configForm();
    told.inputs = {"Art", ".dds"};
    settings.cmdAddCat->click();
    ASSERT_TRUE(window.flags().configChanged) << c.label;
    told.answers = c.answers;
    c.act(window, settings);
    ASSERT_EQ(told.told.size(), 1u) << c.label;
    EXPECT_EQ(told.told[0],
              QString::fromStdString("Could not save the configuration to " + blocked +
                                     ": Is a directory.\n\nYour changes are kept "
                                     "in the window, and Quit asks again. | "
                                     "Loomkit For Torque"))
        << c.label;
    EXPECT_EQ(told.kinds[0], MessageKind::Error) << c.label;
    EXPECT_TRUE(window.flags().configChanged) << c.label;
    EXPECT_EQ(window.isVisible(), c.stillOpen) << c.label;
    EXPECT_EQ(rows(settings.lstDescrip), QStringList{"Art"}) << c.label;
  }
}

TEST_F(Windows, AConfigurationThatIsAFolderOpensAsAFreshStart) {
  ScriptedPrompts told;
  SearchForm window(tree.folder("settings.ini"), &told);
  EXPECT_EQ(window.configForm()->lstDescrip->count(), 0);
  EXPECT_FALSE(window.flags().configChanged);
  EXPECT_TRUE(told.told.empty());
}

TEST_F(Windows, TheJobSaysWhatItDid) {
  struct Case {
    const char* label;
    std::function<void(testing::TempTree&, SearchForm&)> prepare;
    QString outcome;  // D stands for the project folder
    QString message;  // a message box, or empty
  };
  const Case cases[] = {
      {"normal", [](testing::TempTree&, SearchForm&) {},
       "5 files in 2 groups written to D/proj.prj", ""},
      {"write fails", [](testing::TempTree& t, SearchForm&) { t.folder("game/proj.prj"); },
       "Could not write D/proj.prj: Is a directory",
       "Could not write the project file D/proj.prj:\nIs a directory.\n\nThe files found are "
       "still listed in the window. | Loomkit For Torque"},
      {"one category",
       [](testing::TempTree&, SearchForm& f) { f.configForm()->lstType->item(1)->setText("none"); },
       "3 files in 1 group written to D/proj.prj", ""},
  };
  for (const Case& c : cases) {
    testing::TempTree own;
    own.file("game/main.cs");
    own.file("game/scripts/a.cs");
    own.file("game/scripts/b.cs");
    own.file("game/ui/x.gui");
    own.file("game/ui/y.gui");
    own.file("lkit.ini", "[Misc]\r\nName=proj\r\nBase=" + own.path("game") +
                             "\r\n[Descrip]\r\n0=Scripts\r\n1=GUI\r\n[Type]\r\n0=cs\r\n1=gui\r\n");
    ScriptedPrompts told;
    SearchForm window(own.path("lkit.ini"), &told);
    QString captionInPause;
    QString outcomeInPause;
    window.setPause([&](int) {
      captionInPause = window.cmdStartAbort->text();
      outcomeInPause = window.lblOutcome->text();
    });
    c.prepare(own, window);
    window.cmdStartAbort->click();
    const QString d = QString::fromStdString(own.path("game"));
    QString expected = c.outcome;
    expected.replace("D", d);
    EXPECT_EQ(window.lblOutcome->text(), expected) << c.label;
    if (c.message.isEmpty()) {
      EXPECT_TRUE(told.told.empty()) << c.label;
      EXPECT_EQ(captionInPause, "Start") << c.label;
      EXPECT_EQ(outcomeInPause, expected) << c.label;
    } else {
      QString message = c.message;
      ASSERT_EQ(told.told.size(), 1u) << c.label;
      EXPECT_EQ(told.told[0], message.replace("D", d)) << c.label;
      EXPECT_EQ(told.kinds[0], MessageKind::Error) << c.label;
    }
    EXPECT_EQ(window.cmdStartAbort->text(), "Start") << c.label;
  }
}

TEST_F(Windows, TheListsCarryHeadings) {
  form->show();
  form->cmdStartAbort->click();
  QApplication::processEvents();
  struct Case {
    QLabel* heading;
    QListWidget* list;
    QString text;
  };
  const Case cases[] = {
      {form->lblResultsHeading, form->FindFilesResults, "Files found (category = file)"},
      {form->lblGroupsHeading, form->lstGroup, "Groups (Auto-organize)"},
      {form->lblDirsHeading, form->lstDirs, "Folders searched"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.heading->text(), c.text);
    EXPECT_TRUE(c.heading->isVisible()) << c.text.toStdString();
    EXPECT_EQ(c.heading->geometry().bottom() + 1 + kListHeadingGap, c.list->geometry().top());
    EXPECT_EQ(c.heading->x(), c.list->x());
    EXPECT_GE(c.heading->width(), c.heading->sizeHint().width()) << c.text.toStdString();
  }
}

TEST_F(Windows, TheListsScrollSidewaysToTheLongestPath) {
  // The longest path is not the first row, nor the longest name the first folder.
  tree.file("game/ui/a_rather_long_folder_name_for_the_interface/and_a_long_file_name.gui");
  form->show();
  form->cmdStartAbort->click();
  QApplication::processEvents();
  for (QListWidget* list : {form->FindFilesResults, form->lstDirs}) {
    int widest = 0;
    for (const QString& row : rows(list)) {
      widest = std::max(widest, list->fontMetrics().horizontalAdvance(row));
    }
    QScrollBar* sideways = list->horizontalScrollBar();
    EXPECT_GE(sideways->maximum() + list->viewport()->width(), widest);
    EXPECT_GT(sideways->maximum(), 0);
  }
}

TEST_F(Windows, StartDuringThePauseStartsTheNextJob) {
  int pauses = 0;
  form->setPause([&](int) {
    if (++pauses == 1) form->cmdStartAbort->click();  // the first job's pause
  });
  form->cmdStartAbort->click();
  QApplication::processEvents();
  EXPECT_EQ(pauses, 2);
  EXPECT_FALSE(form->jobRunning());
  EXPECT_EQ(form->FindFilesResults->count(), 5);
}

TEST_F(Windows, TheSearchStopsAtTheLimitAndSaysSo) {
  // 32,001 files in the base folder, then more below that are never reached.
  for (int i = 0; i <= 32000; ++i) tree.file("big/f" + std::to_string(100000 + i) + ".cs", "");
  tree.file("big/sub/late.cs");
  ASSERT_TRUE(form->Dir1->setPath(QString::fromStdString(tree.path("big"))));
  form->cmdStartAbort->click();
  EXPECT_EQ(form->FindFilesResults->count(), 32001);
  const QString text = form->lblOutcome->text();
  EXPECT_TRUE(
      text.startsWith("The search stopped after passing the limit of 32000 files.\n10000 "
                      "files in 1 group written to "))
      << text.toStdString();
  EXPECT_TRUE(text.endsWith(".prj\nGroup \"Scripts\" stopped at 10000 files, 22001 left out."))
      << text.toStdString();
}

TEST_F(Windows, TheFolderPickerTakesATypedPathAndFindsNamesByTheirFirstLetters) {
  tree.folder("game/scripts/client");
  tree.folder("game/sounds");
  FolderPicker* picker = form->Dir1;
  // A typed or pasted path, Enter: the picker goes there; a wrong one stays for mending.
  picker->pathField()->setText(QString::fromStdString(tree.path("game/scripts/client")));
  QTest::keyClick(picker->pathField(), Qt::Key_Return);
  EXPECT_EQ(picker->path(), QString::fromStdString(tree.path("game/scripts/client")));
  EXPECT_EQ(form->lblBaseDir->text(), picker->path());
  picker->pathField()->setText(QString::fromStdString(tree.path("game/nowhere")));
  QTest::keyClick(picker->pathField(), Qt::Key_Return);
  EXPECT_EQ(picker->path(), QString::fromStdString(tree.path("game/scripts/client")));
  EXPECT_EQ(picker->pathField()->text(), QString::fromStdString(tree.path("game/nowhere")));

  // Typing the first letters of a name in the list finds the row, indented or not.
  ASSERT_TRUE(picker->setPath(QString::fromStdString(tree.path("game"))));
  struct Case {
    const char* typed;
    const char* found;
  };
  for (const Case& c : {Case{"so", "sounds"}, Case{"u", "ui"}, Case{"scr", "scripts"}}) {
    QTest::qWait(QApplication::keyboardInputInterval() + 50);  // a new search each time
    QTest::keyClicks(picker->folderList(), c.typed);
    ASSERT_NE(picker->folderList()->currentItem(), nullptr) << c.typed;
    EXPECT_EQ(picker->folderList()->currentItem()->text(), c.found) << c.typed;
  }
  QTest::keyClick(picker->folderList(), Qt::Key_Return);
  EXPECT_EQ(picker->path(), QString::fromStdString(tree.path("game/scripts")));
}

TEST_F(Windows, AFreshStartBeginsInTheStartFolderAndNamesTheProjectAfterTheBase) {
  testing::TempTree own;
  own.folder("start/inner");
  own.file("fresh.ini", "[Descrip]\r\n0=S\r\n[Type]\r\n0=cs\r\n");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(own.path("start"))));
  ScriptedPrompts told;
  SearchForm window(own.path("fresh.ini"), &told);
  QDir::setCurrent(before);
  EXPECT_EQ(window.Dir1->path(), QString::fromStdString(own.path("start")));
  EXPECT_EQ(window.lblProjectName->text(), "start");
  // The proposed name follows the picker; a typed one stays.
  ASSERT_TRUE(window.Dir1->setPath(QString::fromStdString(own.path("start/inner"))));
  EXPECT_EQ(window.lblProjectName->text(), "inner");
  window.lblProjectName->setText("mine");
  ASSERT_TRUE(window.Dir1->setPath(QString::fromStdString(own.path("start"))));
  EXPECT_EQ(window.lblProjectName->text(), "mine");
  EXPECT_EQ(proposedProjectName("/"), "project");
  EXPECT_EQ(proposedProjectName(QString::fromStdString(own.path("start/inner/"))), "inner");
}

TEST_F(Windows, AnUnusableProjectNameIsRefused) {
  struct Case {
    QString name;
    QString message;
  };
  const Case cases[] = {
      {"", "Please type a project name: the project file is named after it."},
      {"   ", "Please type a project name: the project file is named after it."},
      {"a/b",
       "The project name \"a/b\" holds a \"/\": the project file is named after it and goes into "
       "the base folder, so please type a name without one."},
  };
  for (const Case& c : cases) {
    prompts.told.clear();
    form->lblProjectName->setText(c.name);
    form->cmdStartAbort->click();
    ASSERT_EQ(prompts.told.size(), 1u) << c.name.toStdString();
    EXPECT_EQ(prompts.told[0], c.message + " | Loomkit For Torque");
    EXPECT_EQ(form->FindFilesResults->count(), 0);
    EXPECT_EQ(pausedMs, 0);
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(tree.path("game/.prj"))));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(tree.path("game/   .prj"))));
}

TEST_F(Windows, ACategoryTypeIsTakenAsTheSearchComparesIt) {
  struct Case {
    QString typed;
    QString kept;  // empty: refused with a hint
  };
  const Case cases[] = {{".dsq", "dsq"}, {"..cs", "cs"}, {" gui ", "gui"}, {"dds", "dds"},
                        {"tar.gz", ""},  {".", ""},      {".a.b", ""}};
  for (const Case& c : cases) {
    prompts.told.clear();
    const int before = config->lstType->count();
    prompts.inputs = {"Name", c.typed};
    config->cmdAddCat->click();
    if (c.kept.isEmpty()) {
      EXPECT_EQ(config->lstType->count(), before) << c.typed.toStdString();
      ASSERT_EQ(prompts.told.size(), 1u) << c.typed.toStdString();
      EXPECT_TRUE(prompts.told[0].startsWith("\"" + c.typed + "\" can never match a file."));
    } else {
      ASSERT_EQ(config->lstType->count(), before + 1) << c.typed.toStdString();
      EXPECT_EQ(config->lstType->item(before)->text(), c.kept);
      EXPECT_TRUE(prompts.told.empty()) << c.typed.toStdString();
    }
    EXPECT_EQ(config->lstDescrip->count(), config->lstType->count());
  }
}

TEST_F(Windows, CategoryAndTypeListsScrollTogether) {
  config->show();
  for (int i = 0; i < 60; ++i) {
    prompts.inputs = {QString("C%1").arg(i), "t"};
    config->cmdAddCat->setEnabled(true);
    config->cmdAddCat->click();
  }
  QApplication::processEvents();
  config->lstDescrip->verticalScrollBar()->setValue(20);
  EXPECT_EQ(config->lstType->verticalScrollBar()->value(), 20);
  config->lstType->verticalScrollBar()->setValue(35);
  EXPECT_EQ(config->lstDescrip->verticalScrollBar()->value(), 35);
  EXPECT_EQ(config->lstDescrip->indexAt(QPoint(5, 5)).row(),
            config->lstType->indexAt(QPoint(5, 5)).row());
}

TEST_F(Windows, NamesThatAreNotUtf8ShowTheirBytes) {
  tree.file("game/caf\xe9.cs");
  tree.file("game/\xff\xfe/in.cs");
  form->cmdStartAbort->click();
  const std::string d = tree.path("game") + "/";
  EXPECT_TRUE(
      rows(form->FindFilesResults).contains(QString::fromStdString("Scripts=" + d + "caf\\xe9.cs")))
      << rows(form->FindFilesResults).join(" | ").toStdString();
  EXPECT_TRUE(rows(form->FindFilesResults)
                  .contains(QString::fromStdString("Scripts=" + d + "\\xff\\xfe/in.cs")));
  EXPECT_TRUE(rows(form->lstDirs).contains("\\xff\\xfe"));
  for (const QString& row : rows(form->FindFilesResults) + rows(form->lstDirs)) {
    EXPECT_FALSE(row.contains(QChar(0xFFFD))) << row.toStdString();
  }
}

TEST_F(Windows, AboutSaveSaysWhereThePictureWentOrWhyNot) {
  frmAbout* about = form->aboutForm();
  struct Case {
    const char* label;
    std::string folder;
    QString caption;
    QString said;  // P stands for the picture's path
  };
  const Case cases[] = {
      {"missing folder", tree.path("no/such"), "Save", "Could not save P: "},
      {"saved", tree.root(), "Done", "Saved to P"},
  };
  for (const Case& c : cases) {
    about->setSaveFolder(QString::fromStdString(c.folder));
    about->cmdSave->click();
    EXPECT_EQ(about->cmdSave->text(), c.caption) << c.label;
    QString said = c.said;
    said.replace("P", QString::fromStdString(c.folder + "/Search About.bmp"));
    EXPECT_TRUE(about->lblSaved->text().startsWith(said)) << about->lblSaved->text().toStdString();
    EXPECT_GT(about->lblSaved->text().size(), said.size() - 1) << c.label;
  }
  EXPECT_EQ(testing::readFile(tree.path("Search About.bmp")).substr(0, 2), "BM");
}

TEST(RunModeReport, CountsNamesWithLineBreaks) {
  testing::TempTree tree;
  tree.file("base/a.cs");
  tree.file("base/b\nc.cs");
  tree.file("lkit.ini", "[Descrip]\r\n0=S\r\n[Type]\r\n0=cs\r\n");
  QProcess run;
  run.start(LKIT_PROGRAM, {"--config", QString::fromStdString(tree.path("lkit.ini")), "--run",
                           "--base", QString::fromStdString(tree.path("base"))});
  ASSERT_TRUE(run.waitForFinished(30000));
  EXPECT_EQ(run.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(run.readAllStandardOutput()),
            QString::fromStdString(tree.path("base/base.prj") + "\n1\n"));
  EXPECT_EQ(QString::fromUtf8(run.readAllStandardError()),
            "lkit: 1 files and folders left out: their names hold a line break\n");
}

struct RunCase {
  const char* name;
  QStringList arguments;  // after --config FILE
  int exitCode;
  bool printsProject;
};

void PrintTo(const RunCase& c, std::ostream* os) {
  *os << c.name;
}

class RunMode : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunMode, WritesWithoutWindows) {
  testing::TempTree tree;
  tree.file("base/a.cs");
  tree.file("base/sub/b.cs");
  tree.file("lkit.ini", "[Descrip]\r\n0=S\r\n[Type]\r\n0=cs\r\n[Flags]\r\nAutoOrg=1\r\n");
  QProcess run;
  QStringList arguments = {"--config", QString::fromStdString(tree.path("lkit.ini"))};
  for (QString argument : GetParam().arguments) {
    arguments << argument.replace("BASE", QString::fromStdString(tree.path("base")));
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  run.setProcessEnvironment(environment);
  run.start(LKIT_PROGRAM, arguments);
  ASSERT_TRUE(run.waitForFinished(30000));
  EXPECT_EQ(run.exitCode(), GetParam().exitCode) << run.readAllStandardError().toStdString();
  QString out = QString::fromUtf8(run.readAllStandardOutput());
  if (GetParam().printsProject) {
    EXPECT_EQ(out, QString::fromStdString(tree.path("base/my game.prj") + "\n2\n"));
    EXPECT_EQ(IniProfile::load(tree.path("base/my game.prj")).read("Files - sub", "0", "-", 128),
              "sub/b.cs");
  } else {
    EXPECT_EQ(out, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunMode,
    ::testing::Values(
        RunCase{"BaseAndName", {"--run", "--base", "BASE", "--name", "my game"}, 0, true},
        RunCase{"NoBaseAnywhere", {"--run", "--name", "x"}, 2, false},
        RunCase{"UnknownOption", {"--run", "--fast"}, 2, false},
        RunCase{"BaseWithoutRun", {"--base", "BASE"}, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  const char* config;     // CONFIG: the good file, FOLDER: a folder, NONE: a missing file
  QStringList arguments;  // after --config
  int exitCode;
  QString error;  // standard error, with the same names for the paths
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.name;
}

class RunModeRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RunModeRefusal, SaysWhyAndLeavesTheProjectFileAlone) {
  const RefusalCase& c = GetParam();
  testing::TempTree tree;
  tree.file("base/a.cs");
  tree.file("base/my game.prj", "a good project file");
  tree.file("lkit.ini", "[Misc]\r\nName=my game\r\nBase=" + tree.path("base") +
                            "\r\n[Descrip]\r\n0=S\r\n[Type]\r\n0=cs\r\n");
  tree.file("gone.ini", "[Misc]\r\nName=my game\r\nBase=" + tree.path("gone") + "\r\n");
  tree.folder("folder.ini");
  const std::map<QString, QString> paths = {
      {"CONFIG", QString::fromStdString(tree.path("lkit.ini"))},
      {"GONE", QString::fromStdString(tree.path("gone.ini"))},
      {"FOLDER", QString::fromStdString(tree.path("folder.ini"))},
      {"NONE", QString::fromStdString(tree.path("none.ini"))},
      {"BASE", QString::fromStdString(tree.path("base"))},
      {"CSFILE", QString::fromStdString(tree.path("base/a.cs"))},
      {"LOST", QString::fromStdString(tree.path("gone"))}};
  auto fill = [&](QString text) {
    for (const auto& [name, path] : paths) text.replace(name, path);
    return text;
  };
  QStringList arguments = {"--config", fill(c.config)};
  for (const QString& argument : c.arguments) arguments << fill(argument);
  QProcess run;
  run.start(LKIT_PROGRAM, arguments);
  ASSERT_TRUE(run.waitForFinished(30000));
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), c.exitCode);
  EXPECT_EQ(QString::fromUtf8(run.readAllStandardOutput()), "");
  EXPECT_EQ(QString::fromUtf8(run.readAllStandardError()), fill(c.error));
  EXPECT_EQ(testing::readFile(tree.path("base/my game.prj")), "a good project file");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunModeRefusal,
    ::testing::Values(
        RefusalCase{"ConfigIsAFolder",
                    "FOLDER",
                    {"--run", "--base", "BASE"},
                    1,
                    "lkit: cannot read the configuration FOLDER: it is a folder; nothing "
                    "written\n"},
        RefusalCase{"ConfigIsMissing",
                    "NONE",
                    {"--run", "--base", "BASE", "--name", "my game"},
                    1,
                    "lkit: no configuration at NONE; nothing written (save one from the window, "
                    "or give --config FILE)\n"},
        RefusalCase{"BaseIsAFile",
                    "CONFIG",
                    {"--run", "--base", "CSFILE"},
                    2,
                    "lkit: --base CSFILE is not a folder\n"},
        RefusalCase{"SavedBaseIsGone",
                    "GONE",
                    {"--run"},
                    2,
                    "lkit: the base folder saved in GONE, LOST, is not a folder: give --base "
                    "DIR\n"},
        RefusalCase{"EmptyName",
                    "CONFIG",
                    {"--run", "--name", ""},
                    2,
                    "lkit: Please type a project name: the project file is named after it.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Help, PrintsTheUsageAndExitsZero) {
  struct Case {
    QStringList arguments;
    int exitCode;
    bool onStandardOutput;
  };
  const Case cases[] = {{{"--help"}, 0, true},
                        {{"-h"}, 0, true},
                        {{"--config", "x.ini", "--help"}, 0, true},
                        {{"--bogus"}, 2, false}};
  for (const Case& c : cases) {
    QProcess run;
    run.start(LKIT_PROGRAM, c.arguments);
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), c.exitCode) << c.arguments.join(" ").toStdString();
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    const QString err = QString::fromUtf8(run.readAllStandardError());
    const QString usage = QString::fromUtf8(kUsage.data(), static_cast<qsizetype>(kUsage.size()));
    EXPECT_TRUE(usage.startsWith("usage: lkit [--config FILE]"));
    if (c.onStandardOutput) {
      EXPECT_EQ(out, usage);
      EXPECT_EQ(err, "");
    } else {
      EXPECT_EQ(out, "");
      EXPECT_EQ(err, "lkit: unknown argument: --bogus\n" + usage);
    }
  }
}

}  // namespace
}  // namespace lkit
