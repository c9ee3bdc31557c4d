#pragma once

#include <QRect>
#include <QSize>

namespace lkit {

// Where the main window's three visible lists go. Up to the size that shows
// them all, they keep their designed places (beyond the first client area);
// a larger client area is shared out among them: the results list takes the
// extra height and half the extra width, the group and folder lists the other
// half of the width and half the extra height each.
// Each list has a heading right above it; the results list sits one heading
// lower than its designed place, below the project name.
struct SearchListPlaces {
  QRect results;  // FindFilesResults
  QRect groups;   // lstGroup
  QRect folders;  // lstDirs
  QRect resultsHeading, groupsHeading, foldersHeading;
};

// The height of a list's heading, and the gap below it.
inline constexpr int kListHeadingHeight = 18;
inline constexpr int kListHeadingGap = 2;

// The client area the main window first opens with.
QSize searchFormFirstArea();

// The smallest client area that shows every control, lists included.
QSize searchFormFullArea();

SearchListPlaces searchListPlaces(QSize clientArea);

}  // namespace lkit
