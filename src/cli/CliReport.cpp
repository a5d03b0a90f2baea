#include "CliReport.h"

#include "CliControl.h"
#include "data/ProjectFile.h"
#include "platform/LocalFiles.h"

#include "report/ReportVariables.h"
#include "platform/Messages.h"
#include "report/ReportExport.h"
#include "report/SeriesReport.h"
#include "views/TableText.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace grx {

int runCliReport(const QStringList& args, QTextStream& out, QTextStream& err) {
  constexpr const char* kUsage = "usage: grx1-cli report FILE.grx -o OUT [--lang ru|en]";
  QString file;
  QString output;
  Language language = Language::English;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"-o" || a == u"--lang") {
      if (i + 1 >= args.size()) {
        err << a << " needs a value\n";
        return 2;
      }
      const QString v = args[++i];
      if (a == u"-o") {
        output = v;
      } else if (v == u"ru" || v == u"en") {
        language = v == u"ru" ? Language::Russian : Language::English;
      } else {
        err << "--lang takes ru or en, not \"" << v << "\"\n";
        return 2;
      }
    } else if (a.startsWith(u'-') || !file.isEmpty()) {
      err << "unexpected argument \"" << a << "\"; " << kUsage << '\n';
      return 2;
    } else {
      file = a;
    }
  }
  if (file.isEmpty() || output.isEmpty()) {
    err << kUsage << '\n';
    return 2;
  }
  const auto format = reportFormatOfPath(output);
  if (!format) {
    err << "unknown report format \"" << QFileInfo(output).suffix()
        << "\"; the output name ends in .pdf, .png, .xlsx, .ods, .odt, .html, .txt or .rtf\n";
    return 2;
  }
  auto set = std::make_unique<MeasurementSet>();
  if (readProjectFile(file, *set) != ProjectReadResult::Ok) {
    err << kFileDamaged.text(language) << ": " << QFileInfo(file).fileName() << '\n';
    return 2;
  }
  const TextGrid table = seriesTableText(*set, language);
  set.reset();
  if (seriesReportIsEmpty(table)) {
    err << kNoData.text(language) << '\n';
    return 2;
  }
  // Asked first, so that a target that may not be replaced (read-only, a FIFO, a folder) is one
  // clear line before the work; opening it to find out could block on a FIFO.
  if (!mayWriteReport(*format, output)) {
    err << cannotCreateFileText(output, language).replace(u'\n', u' ') << '\n';
    return 2;
  }
  const PreparedReport report = prepareSeriesReport(table, language);
  QStringList removed;
  if (!exportReport(report, *format, output, QFileInfo(file).completeBaseName(), &removed)) {
    err << cannotCreateFileText(output, language).replace(u'\n', u' ') << '\n';
    return 2;
  }
  if (!removed.isEmpty()) out << removedPagesText(removed, language) << '\n';
  return 0;
}

int cliReportMain(int argc, char* argv[]) {
#ifndef Q_OS_WIN
  // No display is needed. Windows' own platform needs none either and brings the system's fonts,
  // which the offscreen one would not find there.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  // Qt's own notes about the environment (runtime folder, fonts) are not this command's output.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
  });
  QGuiApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  out.setEncoding(QStringConverter::Utf8);
  err.setEncoding(QStringConverter::Utf8);
  const QStringList args = commandLineArguments(argc, argv);
  const int code = args.value(0) == u"control" ? runCliControl(args.mid(1), out, err) : runCliReport(args.mid(1), out, err);
  out.flush();
  err.flush();
  return code;
}

}  // namespace grx
