#pragma once
// What the windows and the exports show of an opened or read measurement set, computed in both
// languages, so that a fuzzed set goes through every table text, copy and derived signal.
#include "data/DerivedSignals.h"
#include "data/MeasurementSet.h"
#include "export/ClipboardText.h"
#include "views/TableText.h"

#include <algorithm>
#include <cstdlib>

namespace grx::fuzz {

inline void showEverything(MeasurementSet& set) {
  for (Language language : {Language::Russian, Language::English}) {
    const QString series = tableCopyText(seriesTableText(set, language));
    if (series.contains(QChar(0))) std::abort();  // no NUL may reach a copy
    // Every series would be a lot for a big set; the first few and the last cover the edges.
    const std::uint32_t count = set.seriesCount();
    for (std::uint32_t k = 0; k < count; k = k < 3 ? k + 1 : std::max(k + 1, count - 1)) {
      const QString impacts = tableCopyText(impactsTableText(set, k, language));
      if (impacts.contains(QChar(0))) std::abort();
    }
  }
  for (std::uint32_t i : {0u, set.count() / 2, set.count() ? set.count() - 1 : 0u}) {
    if (!set.selectImpact(i)) continue;
    const ImpactRecordView record(set.currentRecord());
    (void)chartSignals(record);
    (void)chartSignals(record, true);
    (void)exportSignals(record);
  }
}

}  // namespace grx::fuzz
