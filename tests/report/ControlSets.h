#pragma once
// A small set of two test lots for the acceptance protocol and grx1-cli control: series 0, 1 and 3
// are "Дорога"/"Песок" at 50, 60 and 70 MPa, series 2 is "Парк"/"Глина" at 30 MPa; one impact
// each, static modulus 100 MPa, s/v 4 ms (displacement 2 mm, velocity minimum -0.5 m/s).
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

}  // namespace grx::test
