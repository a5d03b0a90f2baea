#pragma once
// Cell texts for the line-based outputs (tab tables, CSV files): a tester's name may hold any
// byte the tester's keyboard or a damaged record put there, and must not break a row or run as a
// spreadsheet formula.
#include <QString>

namespace grx {

// The text with every CR and LF as a blank, so that one row stays one line.
QString singleLineText(const QString& text);

// The text with a leading apostrophe when it begins with "=", "+", "-" or "@" and is not a plain
// number ("-12,5", "+3.0"): a spreadsheet that opens the CSV shows it as text instead of running
// it as a formula. Other texts come back as they are.
QString spreadsheetSafeCell(const QString& text);

}  // namespace grx
