#pragma once
// A small set of two test lots for the acceptance protocol and grx1-cli control: series 0, 1 and 3
// are "Дорога"/"Песок" at 50, 60 and 70 MPa, series 2 is "Парк"/"Глина" at 30 MPa; one impact
// each, static modulus 100 MPa, s/v 4 ms (displacement 2 mm, velocity minimum -0.5 m/s).
#include "control/Calibration.h"
#include "support/RecordBuilder.h"

#include <memory>

namespace grx::test {

inline std::unique_ptr<MeasurementSet> twoLotSet() {
  const struct {
    const char* object;
    const char* material;
    float dynamic;
  } series[] = {{"Дорога", "Песок", 50}, {"Дорога", "Песок", 60}, {"Парк", "Глина", 30}, {"Дорога", "Песок", 70}};
  std::vector<RecordBuilder> records;
  std::uint32_t k = 0;
  for (const auto& s : series) {
    ++k;
    records.push_back(RecordBuilder()
                          .series(k)
                          .stamp(2, 6, 26, 10, int(k), 0)
                          .object(QString::fromUtf8(s.object))
                          .soil(QString::fromUtf8(s.material))
                          .moduli(s.dynamic, 100)
                          .peaks(-20, 20, -0.5f, 0.5f)
                          .displacement(2));
  }
  auto set = std::make_unique<MeasurementSet>();
  fillSet(*set, records);
  return set;
}

// Calibrations of the lots' materials whose pairs lie exactly on a line, so that s = 0 and every
// lower bound is its estimate: Ev2 = 10 + 2·Evd over 20..60 MPa for "Песок" and the compaction
// coefficient 0,85 + 0,003·Evd over 10..50 MPa for "Глина".
inline Calibration lineCalibration(const char* name, const char* material, ReferenceQuantity q,
                                   QList<CalibrationPair> pairs) {
  Calibration c;
  c.name = QString::fromUtf8(name);
  c.material = QString::fromUtf8(material);
  c.quantity = q;
  c.date = QDate(2026, 5, 14);
  c.comment = QStringLiteral("km 12");
  c.pairs = pairs;
  return c;
}
inline Calibration sandCalibration() {
  return lineCalibration("Песок 05.2026", "Песок", ReferenceQuantity::Ev2, {{20, 50}, {30, 70}, {40, 90}, {50, 110}, {60, 130}});
}
inline Calibration clayCalibration() {
  return lineCalibration("Глина 05.2026", "Глина", ReferenceQuantity::Compaction,
                         {{10, 0.88}, {20, 0.91}, {30, 0.94}, {40, 0.97}, {50, 1.00}});
}

}  // namespace grx::test
