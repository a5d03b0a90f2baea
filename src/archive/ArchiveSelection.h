#pragma once
// The order in which a selection of the archive becomes a measurement set. The tables cut a set
// into series wherever the series number changes, so the impacts of two testers that measured at
// the same time must not go out in plain time order: each series goes out whole, in its own
// order, the series by the time of their first impact. Two different series with the same
// number next to each other would read as one: a later series with another number goes between
// them; where none is left, the pair is named.
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace grx {

// One impact of the selection, in time order (time stamp, then the import and its order).
struct SelectedImpact {
  qint64 seriesKey = 0;
  int seriesNumber = 0;
  QString takenAt;  // "YYYY-MM-DD hh:mm:ss"
};

// Two series that end up next to each other with the same number.
struct JoinedSeries {
  int seriesNumber = 0;
  QString firstStart, secondStart;  // the time stamps of their first impacts
};

struct SelectionOrder {
  std::vector<std::uint32_t> order;  // indices into the impacts given
  QList<JoinedSeries> joined;
};

SelectionOrder selectionOrder(const std::vector<SelectedImpact>& impacts);

}  // namespace grx
