#include "CliCommands.h"
#include "CliFiles.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  out.setEncoding(QStringConverter::Utf8);
  err.setEncoding(QStringConverter::Utf8);
  // File names reach the file system byte for byte, valid UTF-8 or not.
  const int code = grx::runCli(grx::commandLineArguments(argc, argv), out, err);
  out.flush();
  err.flush();
  return code;
}
