#pragma once
// The colours of the compaction control's verdicts: a pale green for a pass and a pale red for a
// failure, light enough that the texts on them stay as readable as on the tables' own background.
#include "ControlEvaluation.h"

#include <QColor>

namespace grx {

inline QColor verdictColor(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass: return QColor(198, 239, 206);
    case Verdict::Fail: return QColor(255, 190, 190);
    case Verdict::None:
    case Verdict::TooFew: break;
  }
  return {};  // the table's own background
}

}  // namespace grx
