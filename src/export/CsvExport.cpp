#include "CsvExport.h"

#include "data/DerivedSignals.h"
#include "platform/NumberFormat.h"

namespace grx {
namespace {

struct SignalWords {
  const char* word;  // after ";GRX-1.0, "
  const char* unit;  // after ";Units: "
  const char16_t* picture;
};

// The single-signal files write the units with the letter c ("m/c"), as the tester's own software
// always has; the all-signals file writes "m/s".
SignalWords wordsOf(ExportSignal signal) {
  switch (signal) {
    case ExportSignal::Acceleration: return {"accelerate", "m/c^2", u"0.0"};
    case ExportSignal::Velocity: return {"velocity", "m/c", u"0.000"};
    case ExportSignal::Displacement: return {"displacement", "mm", u"0.000"};
    case ExportSignal::Force: break;
  }
  return {"force", "kN", u"0.000"};
}

void appendNumber(QByteArray& out, double value, const char16_t* picture) {
  appendFloat(out, value, picture);
}

void appendTwoDigits(QByteArray& out, int value) { appendNumber(out, value, u"00"); }

// Lines 2 to 5: series and impact, date, time, sample period.
void appendStamp(QByteArray& out, const ImpactRecordView& r) {
  out += ";Series/Impact: ";
  appendNumber(out, r.seriesNumber(), u"#");
  out += '/';
  appendNumber(out, r.impactNumber(), u"#");
  out += "\n;Date: ";
  appendTwoDigits(out, r.day());
  out += '.';
  appendTwoDigits(out, r.month());
  out += '.';
  appendTwoDigits(out, r.year());
  out += "\n;Time: ";
  appendTwoDigits(out, r.hours());
  out += ':';
  appendTwoDigits(out, r.minutes());
  out += ':';
  appendTwoDigits(out, r.seconds());
  out += "\n;Period, 64 mkS\n";
}

const std::array<double, kSamplesPerSignal>& valuesOf(const SignalArrays<double>& s, ExportSignal signal) {
  switch (signal) {
    case ExportSignal::Acceleration: return s.acceleration;
    case ExportSignal::Velocity: return s.velocity;
    case ExportSignal::Displacement: return s.displacement;
    case ExportSignal::Force: break;
  }
  return s.force;
}

}  // namespace

QByteArray signalCsv(const ImpactRecordView& record, ExportSignal signal) {
  const SignalWords words = wordsOf(signal);
  const SignalArrays<double> s = exportSignals(record);
  QByteArray out;
  out.reserve(160 + kSamplesPerSignal * 10);
  out += ";GRX-1.0, ";
  out += words.word;
  out += '\n';
  appendStamp(out, record);
  out += ";Units: ";
  out += words.unit;
  out += '\n';
  for (double value : valuesOf(s, signal)) {
    appendNumber(out, value, words.picture);
    out += '\n';
  }
  return out;
}

QByteArray allSignalsCsv(const ImpactRecordView& record, bool reducedView) {
  const SignalArrays<double> s = exportSignals(record);
  QByteArray out;
  out.reserve(300 + kSamplesPerSignal * (reducedView ? 20 : 40));
  out += reducedView ? ";GRX-1.0, displacement, force\n" : ";GRX-1.0, accelerate, velocity, displacement, force\n";
  appendStamp(out, record);
  out += ";Units:\n";
  if (!reducedView) out += "; - accelerate: m/s^2\n; - velocity: m/s\n";
  out += "; - displacement: mm\n; - force: kN\n";
  out += "Accelerate; Velocity; Displacement; Force\n";  // all four names in both views
  for (int k = 0; k < kSamplesPerSignal; ++k) {
    if (!reducedView) {
      appendNumber(out, s.acceleration[k], u"0.0");
      out += "; ";
      appendNumber(out, s.velocity[k], u"0.000");
      out += "; ";
    }
    appendNumber(out, s.displacement[k], u"0.000");
    out += "; ";
    appendNumber(out, s.force[k], u"0.000");
    out += '\n';
  }
  return out;
}

}  // namespace grx
