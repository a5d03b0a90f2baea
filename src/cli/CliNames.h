#pragma once
// The tester's name lists and screen image from the command line, on the window program's device
// worker:
//   grx1-cli names get materials|objects -o FILE [--timeout SECONDS]
//   grx1-cli names put materials|objects FILE [--timeout SECONDS]
//   grx1-cli screenshot -o FILE.bmp [--timeout SECONDS]
// Each lets the worker finish its start-up read of the stored impacts first, as the window does,
// then posts its request from the idle link. `names get` writes a name-list file as the window's
// "To file" does, `names put` reads one as "From file" does, `screenshot` writes the framed
// 132 x 68 picture in the colours of GRX1.ini (or the defaults). Exit 0 when done; 2 with one line
// on stderr for bad arguments, an unreadable file, or no tester answering within the time-out
// (default 30 s).
#include "device/LinkSleeper.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTextStream;

namespace grx {

struct CliLinkOptions {
  std::unique_ptr<LinkSleeper> sleeper;  // the worker's fixed waits (none: the real clock)
  QString programFolder;                 // where GRX1.ini is looked for (none: where the window program keeps it)
};

int runCliNames(const QStringList& argsAfterTheWordNames, QTextStream& out, QTextStream& err,
                CliLinkOptions options = {});
int runCliScreenshot(const QStringList& argsAfterTheWordScreenshot, QTextStream& out, QTextStream& err,
                     CliLinkOptions options = {});

}  // namespace grx
