// Where the main window's lists go at each client size, which drive a folder
// belongs to, and how a long base folder is shown.

#include <gtest/gtest.h>

#include <QStringList>

#include "app/drives.h"
#include "app/elided_label.h"
#include "app/search_form_layout.h"

namespace lkit {
namespace {

struct PlacesCase {
  const char* label;
  QSize area;
  QRect results, groups, folders;
};

TEST(SearchFormLayout, ListsKeepTheirPlacesThenShareTheRoom) {
  EXPECT_EQ(searchFormFirstArea(), QSize(518, 303));
  EXPECT_EQ(searchFormFullArea(), QSize(681, 487));
  const QRect results(40, 324, 313, 147), groups(520, 24, 145, 134), folders(520, 184, 145, 160);
  const PlacesCase cases[] = {
      {"first area", QSize(518, 303), results, groups, folders},
      {"smaller than the first area", QSize(100, 50), results, groups, folders},
      {"full area", QSize(681, 487), results, groups, folders},
      {"one pixel more each way", QSize(682, 488), QRect(40, 324, 313, 148),
       QRect(520, 24, 146, 134), QRect(520, 184, 146, 161)},
      {"enlarged", QSize(881, 587), QRect(40, 324, 413, 247), QRect(620, 24, 245, 184),
       QRect(620, 234, 245, 210)},
      {"only taller", QSize(681, 1487), QRect(40, 324, 313, 1147), QRect(520, 24, 145, 634),
       QRect(520, 684, 145, 660)},
  };
  for (const PlacesCase& c : cases) {
    const SearchListPlaces places = searchListPlaces(c.area);
    EXPECT_EQ(places.results, c.results) << c.label;
    EXPECT_EQ(places.groups, c.groups) << c.label;
    EXPECT_EQ(places.folders, c.folders) << c.label;
  }
}

TEST(SearchFormLayout, ListsNeverMeetAndStayInsideTheArea) {
  // The controls above the results list end at the project name box.
  const QRect projectName(96, 272, 257, 25);
  for (int width = 681; width < 2600; width += 97) {
    for (int height = 487; height < 1600; height += 89) {
      const SearchListPlaces places = searchListPlaces(QSize(width, height));
      const QRect area(0, 0, width, height);
      const QRect all[] = {places.results,        places.groups,        places.folders,
                           places.resultsHeading, places.groupsHeading, places.foldersHeading};
      for (const QRect& place : all) {
        EXPECT_TRUE(area.contains(place)) << width << "x" << height;
      }
      for (std::size_t i = 0; i < std::size(all); ++i) {
        for (std::size_t j = i + 1; j < std::size(all); ++j) {
          EXPECT_FALSE(all[i].intersects(all[j])) << width << "x" << height << " " << i << j;
        }
      }
      EXPECT_FALSE(places.resultsHeading.intersects(projectName)) << width << "x" << height;
      EXPECT_EQ(places.resultsHeading.bottom() + 1 + kListHeadingGap, places.results.top());
      EXPECT_EQ(places.foldersHeading.bottom() + 1 + kListHeadingGap, places.folders.top());
    }
  }
}

struct VolumeCase {
  const char* folder;
  QStringList roots;
  QString root;
};

TEST(Drives, AFolderBelongsToItsNearestVolumeOrToTheRoot) {
  const QStringList mounted = {"/", "/home", "/home/user/data", "/mnt/usb/"};
  const VolumeCase cases[] = {
      {"/home/user", mounted, "/home"},
      {"/home", mounted, "/home"},
      {"/home/user/data/maps", mounted, "/home/user/data"},
      {"/home/user/database", mounted, "/home"},
      {"/home/userdata", mounted, "/home"},
      {"/mnt/usb", mounted, "/mnt/usb/"},
      {"/mnt/usb2", mounted, "/"},
      {"/var/lib", mounted, "/"},
      {"/srv/game", {}, "/"},
      {"/srv/game", {"/home", ""}, "/"},
      {"/home/../srv", {"/home"}, "/"},
  };
  for (const VolumeCase& c : cases) {
    EXPECT_EQ(volumeRootOf(c.folder, c.roots), c.root) << c.folder;
  }
}

TEST(Drives, ThePickerAlwaysHoldsTheCurrentDriveAndNoEmptyEntry) {
  EXPECT_EQ(driveEntries({"/home", "", "/home"}, "/srv/game"), (QStringList{"/", "/home"}));
  EXPECT_EQ(driveEntries({"/", "/home"}, "/home/a"), (QStringList{"/", "/home"}));
  EXPECT_EQ(driveEntries({}, "/anywhere"), QStringList{"/"});
}

TEST(ElidedLabel, ShowsALongPathElidedInTheMiddle) {
  const QString longPath =
      "/home/someone/projects/a_game_with_a_rather_long_name/and/deeper/folders/"
      "scripts_of_the_client";
  struct Case {
    QString path;
    bool elided;
  };
  const Case cases[] = {{longPath, true}, {"/home/game", false}};
  for (const Case& c : cases) {
    ElidedLabel label;
    label.resize(201, 17);
    label.setPath(c.path);
    EXPECT_EQ(label.text(), c.path);
    EXPECT_EQ(label.toolTip(), c.path);
    const QString shown = label.shownText();
    if (c.elided) {
      EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
      EXPECT_TRUE(shown.startsWith("/home/")) << shown.toStdString();
      EXPECT_TRUE(shown.endsWith("client")) << shown.toStdString();
      EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), 201);
    } else {
      EXPECT_EQ(shown, c.path);
    }
  }
}

}  // namespace
}  // namespace lkit
