#include "ArchiveSelection.h"

#include <QHash>

namespace grx {

SelectionOrder selectionOrder(const std::vector<SelectedImpact>& impacts) {
  // The series in the order of their first impact, each with its impacts in the order given.
  struct Series {
    int number = 0;
    QString start;
    std::vector<std::uint32_t> impacts;
  };
  std::vector<Series> series;
  QHash<qint64, std::size_t> index;
  for (std::uint32_t i = 0; i < impacts.size(); ++i) {
    const SelectedImpact& impact = impacts[i];
    auto it = index.find(impact.seriesKey);
    if (it == index.end()) {
      it = index.insert(impact.seriesKey, series.size());
      series.push_back({impact.seriesNumber, impact.takenAt, {}});
    }
    series[*it].impacts.push_back(i);
  }

  SelectionOrder result;
  result.order.reserve(impacts.size());
  std::vector<bool> taken(series.size(), false);
  std::size_t firstLeft = 0;  // every series before it is taken
  const Series* last = nullptr;
  for (std::size_t done = 0; done < series.size(); ++done) {
    while (taken[firstLeft]) ++firstLeft;
    // The earliest series left whose number differs from the one just written.
    std::size_t next = firstLeft;
    if (last)
      for (std::size_t k = firstLeft; k < series.size(); ++k)
        if (!taken[k] && series[k].number != last->number) {
          next = k;
          break;
        }
    const Series& s = series[next];
    if (last && s.number == last->number) result.joined.append({s.number, last->start, s.start});
    taken[next] = true;
    result.order.insert(result.order.end(), s.impacts.begin(), s.impacts.end());
    last = &s;
  }
  return result;
}

}  // namespace grx
