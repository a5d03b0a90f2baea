#pragma once
// The CSV texts of one impact: a short header (signal, series and impact, date, time, sample
// period, units) and the 512 samples, one line each. ASCII, LF line ends, the program's decimal
// comma; the values are the exports' number form of the derived signals.
#include "ImpactExport.h"

#include <QByteArray>

namespace grx {

// Six header lines and 512 values: the file of ACopyAtoCsv, ACopyVtoCsv, ACopyStoCsv, ACopyFtoCsv.
QByteArray signalCsv(const ImpactRecordView& record, ExportSignal signal);

// The file of ACopyAllToCsv: all four signals side by side in the full view (523 lines),
// displacement and force in the reduced view (521 lines).
QByteArray allSignalsCsv(const ImpactRecordView& record, bool reducedView);

}  // namespace grx
