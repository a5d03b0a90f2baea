#include "SeriesReport.h"

#include "report/ReportVariables.h"

namespace grx {

PreparedReport prepareSeriesReport(const TextGrid& seriesTable, Language language) {
  int recordCount = 0;
  ReportRowSource rows;
  // frxUserDataSet1: the record count is taken when the engine moves to the first record.
  rows.first = [&] { recordCount = seriesReportRecordCount(seriesTable); };
  rows.eof = [&](int recordNumber) { return recordNumber >= recordCount; };
  const ReportVariables variables = [&](const QString& name, int recordNumber) {
    return seriesReportVariable(name, seriesTable, recordNumber, language);
  };
  static const ReportTemplate report = frxReport1();
  return layOutReport(report, variables, rows);
}

}  // namespace grx
