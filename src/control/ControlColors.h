#pragma once
// The colours of the compaction control's verdicts: a pale green for a pass, a pale red for a
// failure and a pale amber for what could not be judged, light enough that the texts on them stay
// as readable as on the tables' own background.
#include "ControlEvaluation.h"

#include <QColor>

namespace grx {

inline QColor verdictColor(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass: return QColor(198, 239, 206);
    case Verdict::Fail: return QColor(255, 190, 190);
    case Verdict::Undecided: return QColor(255, 226, 150);
    case Verdict::None: break;
  }
  return {};  // the table's own background
}

}  // namespace grx
