#include "CalibrationText.h"

#include "platform/NumberFormat.h"

namespace grx {

QString calibrationText(const MeasurementSet& set, CalibrationValue value) {
  QString text;
  for (std::uint32_t k = 0; k < set.seriesCount(); ++k) {
    const std::uint32_t end = set.seriesStart(k) + set.seriesLength(k);
    for (std::uint32_t i = set.seriesStart(k); i < end && i < set.count(); ++i) {
      const ImpactRecordView r = set.view(i);
      text += value == CalibrationValue::Force ? formatFloat(r.impactForce(), u"0.0")
                                               : formatFloat(r.displacement(), u"0.0000");
      text += u'\n';
    }
  }
  return text;
}

}  // namespace grx
