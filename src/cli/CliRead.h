#pragma once
// grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS]: reads the tester with the
// window program's device worker, without windows. Statuses and a progress line go to `err`; the
// measurements are saved as a project file. Exit 0 when saved; 2 for bad arguments, when the
// tester gives no new answer within the time-out (default 30 s) or the whole read takes longer
// than --max-time, when the tester holds no impacts, and when the file cannot be written.
#include <QStringList>

#include <memory>

class QTextStream;

namespace grx {

class LinkSleeper;

int runCliRead(const QStringList& argsAfterTheWordRead, QTextStream& out, QTextStream& err);
// The same with another clock for the worker's fixed waits (tests).
int runCliRead(const QStringList& argsAfterTheWordRead, QTextStream& out, QTextStream& err,
               std::unique_ptr<LinkSleeper> sleeper);

}  // namespace grx
