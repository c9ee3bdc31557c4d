#include "app/search_form_layout.h"

#include <algorithm>

#include "app/twips.h"

namespace lkit {

namespace {

// The designed places, in twips.
const QRect kResults =
    twips(600, 4560, 4695, 2205).translated(0, kListHeadingHeight + kListHeadingGap);
const QRect kGroups = twips(7800, 360, 2175, 2010);
const QRect kFolders = twips(7800, 2760, 2175, 2400);
// The margin right of and below the outermost lists.
constexpr int kMarginTwips = 240;

}  // namespace

QSize searchFormFirstArea() {
  return twipsSize(7770, 4545);
}

QSize searchFormFullArea() {
  const int margin = kMarginTwips / kTwipsPerPixel;
  const int right = std::max({kResults.right(), kGroups.right(), kFolders.right()}) + 1;
  const int bottom = std::max({kResults.bottom(), kGroups.bottom(), kFolders.bottom()}) + 1;
  return QSize(right + margin, bottom + margin);
}

SearchListPlaces searchListPlaces(QSize clientArea) {
  const QSize full = searchFormFullArea();
  const int extraWidth = std::max(0, clientArea.width() - full.width());
  const int extraHeight = std::max(0, clientArea.height() - full.height());
  const int widthToResults = extraWidth / 2;
  const int widthToColumn = extraWidth - widthToResults;
  const int heightToGroups = extraHeight / 2;
  const int heightToFolders = extraHeight - heightToGroups;

  SearchListPlaces places;
  places.results = kResults.adjusted(0, 0, widthToResults, extraHeight);
  places.groups =
      kGroups.translated(widthToResults, 0).adjusted(0, 0, widthToColumn, heightToGroups);
  places.folders = kFolders.translated(widthToResults, heightToGroups)
                       .adjusted(0, 0, widthToColumn, heightToFolders);
  auto headingOver = [](const QRect& list) {
    return QRect(list.left(), list.top() - kListHeadingGap - kListHeadingHeight, list.width(),
                 kListHeadingHeight);
  };
  places.resultsHeading = headingOver(places.results);
  places.groupsHeading = headingOver(places.groups);
  places.foldersHeading = headingOver(places.folders);
  return places;
}

}  // namespace lkit
