#include "CliCommands.h"
#include "CliReport.h"
#include "platform/LocalFiles.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
  // Tables and messages are UTF-8 with bare line feeds on every system, so a script gets the same
  // bytes; a console shows them as UTF-8.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
#endif
  // The report and the acceptance protocol need fonts and so a GUI application of their own.
  if (argc > 1 && (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "control") == 0))
    return grx::cliReportMain(argc, argv);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("grx1"));  // the same user folders as the window program
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
