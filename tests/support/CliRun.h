#pragma once
// Runs grx1-cli's commands in-process and keeps what they printed.
#include "cli/CliCommands.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace grx::test {

struct CliRun {
  int code;
  QString out;
  QString err;
};

inline CliRun runCliCommand(const QStringList& args) {
  QString out, err;
  QTextStream o(&out), e(&err);
  const int code = runCli(args, o, e);
  o.flush();
  e.flush();
  return {code, out, err};
}

}  // namespace grx::test
