#include "ColumnGrid.h"

#include <algorithm>
#include <cmath>

namespace grx {

ColumnGrid::ColumnGrid(const PreparedReport& report) {
  for (const ReportPage& p : report.pages)
    for (const PlacedText& t : p.texts) {
      add(t.rect.left());
      add(t.rect.right());
    }
  std::sort(edges_.begin(), edges_.end());
}

int ColumnGrid::count() const { return std::max(0, int(edges_.size()) - 1); }

int ColumnGrid::columnAt(double x, bool right) const {
  const auto it = std::lower_bound(edges_.begin(), edges_.end(), x - 0.005);
  const int i = int(it - edges_.begin());
  return std::clamp(right ? i - 1 : i, 0, std::max(0, count() - 1));
}

void ColumnGrid::add(double x) {
  for (double e : edges_)
    if (std::abs(e - x) < 0.01) return;
  edges_.push_back(x);
}

double tableRowHeightMm(const ReportPage& page, const PlacedBand& band) {
  if (band.drawingCount == 0) return band.heightMm;
  double bottom = band.topMm;
  for (int i = 0; i < band.textCount; ++i) bottom = std::max(bottom, page.texts[band.firstText + i].rect.bottom());
  return bottom - band.topMm;
}

}  // namespace grx
