#pragma once
// The export commands of grx1-cli, on the same core as the window's export commands:
//   grx1-cli csv FILE.grx --series K [--impact J] --signal a|v|s|f|all [--view full|reduced] -o OUT
//   grx1-cli wav FILE.grx --series K [--impact J] --signal a|v|s|f|all [--view full|reduced] -o OUT
//   grx1-cli calibration FILE.grx --signal f|s
// K counts series from 0; J is the impact's position in its series, 1 = the first (the impacts
// table's column), default 1. The view defaults to reduced. With --signal all, OUT is a folder
// (created when missing) and the files get the names the window's all-signals commands give them.
// calibration writes the Edit menu's calibration list to `out`.
#include <QStringList>

class QTextStream;

namespace grx {

bool isCliExportCommand(const QString& word);  // csv, wav, calibration

// `arguments` begins with the command word. Exit 0 on success; 2 with one line on `err` for bad
// arguments, an unreadable file, a set without impacts ("No Data"), a series or impact beyond the
// set, and a file that cannot be written.
int runCliExport(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace grx
