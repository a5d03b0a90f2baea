#pragma once
// The columns of a report laid out as a table (the spreadsheet exports, the OpenDocument and HTML
// documents): every left and right edge of a text is a column edge, so a text that spans several
// table columns (the title, the footer) becomes a merged cell.
#include "ReportLayout.h"

#include <vector>

namespace grx {

class ColumnGrid {
 public:
  explicit ColumnGrid(const PreparedReport& report);
  int count() const;
  double widthMm(int column) const { return edges_[std::size_t(column) + 1] - edges_[std::size_t(column)]; }
  // The column whose left edge is at x, or whose right edge is at x when right is set.
  int columnAt(double x, bool right) const;

 private:
  void add(double x);
  std::vector<double> edges_;
};

// The height of a band as a row of those exports: its own, or for a band with pictures, which they
// leave out, the height down to the foot of its lowest text.
double tableRowHeightMm(const ReportPage& page, const PlacedBand& band);

}  // namespace grx
