#pragma once
// grx1-cli: the command-line companion on the same core as the window program.
//   grx1-cli series FILE.grx [--lang ru|en]
//   grx1-cli impacts FILE.grx --series K [--lang ru|en]
//   grx1-cli sample -o FILE.grx [--impacts N] [--seed S]
//   grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS]   (reads a tester)
// Tables are written as the window's whole-table copy text (tabs, CR LF), UTF-8.
#include "platform/TextPair.h"

#include <QStringList>

class QTextStream;

namespace grx {

// %1: the series asked for, %2: how many the file holds
inline constexpr TextPair kNoSuchSeries{"Серии %1 нет: в файле серий %2", "Series %1 does not exist: the file holds %2 series"};

// Runs one command (arguments without the program name). Returns the exit code: 0 on success,
// 2 with a one-line message on `err` for bad arguments and unreadable or damaged files.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace grx
