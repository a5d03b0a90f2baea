// grx1-tester-sim: a simulated tester on the bulk-pipe device nodes, for trying the program and
// the command-line read without the instrument.
//
//   grx1-tester-sim [--dir FOLDER] [--device NAME] [--data FILE.grx | --impacts N [--seed S]]
//                   [--version-length L] [--silence-at K [--silence-times T]] [--drop-at K]
//                   [--slow MS] [--request-length N] [--empty] [--materials FILE.mtgrx]
//                   [--objects FILE.objgrx] [--screen FILE]
//
// FOLDER defaults to $GRX1_PIPE_DIR, else /run/grx1; the tester appears as FOLDER/NAME (default
// "tester0") with the FIFOs Pipe00 and Pipe01 until the program ends (Ctrl+C).
#include "PipeTester.h"
#include "TesterCore.h"
#include "TesterData.h"
#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"

#include <QCoreApplication>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

std::atomic<bool> g_stop{false};

extern "C" void onSignal(int) { g_stop = true; }

constexpr const char* kUsage =
    "usage: grx1-tester-sim [--dir FOLDER] [--device NAME] [--data FILE.grx | --impacts N [--seed S]]\n"
    "                       [--version-length L] [--silence-at K [--silence-times T]] [--drop-at K]\n"
    "                       [--slow MS] [--request-length N] [--empty] [--materials FILE.mtgrx]\n"
    "                       [--objects FILE.objgrx] [--screen FILE]   (FILE: the 1024 bytes of a screen image)\n"
    "  --request-length N  answers name and screen requests with only N bytes\n";

int fail(const QString& message) {
  std::fprintf(stderr, "grx1-tester-sim: %s\n%s", qPrintable(message), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);

  QString folder = qEnvironmentVariable("GRX1_PIPE_DIR");
  if (folder.isEmpty()) folder = QStringLiteral("/run/grx1");
  QString device = QStringLiteral("tester0");
  QString data;
  int impacts = 120;
  std::uint32_t seed = 1;
  grx::sim::TesterFaults faults;
  QString materials, objects, screen;

  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--empty") {
      faults.emptyDirectory = true;
      continue;
    }
    if (a == u"--help" || a == u"-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= args.size()) return fail(a + QStringLiteral(" needs a value"));
    const QString v = args[++i];
    bool ok = true;
    auto number = [&] {
      const int n = v.toInt(&ok);
      if (!ok || n < 0) ok = false;
      return n;
    };
    if (a == u"--dir") folder = v;
    else if (a == u"--device") device = v;
    else if (a == u"--data") data = v;
    else if (a == u"--impacts") impacts = number();
    else if (a == u"--seed") seed = std::uint32_t(number());
    else if (a == u"--version-length") faults.versionLength = number();
    else if (a == u"--silence-at") faults.silenceAtRecord = number();
    else if (a == u"--silence-times") faults.silenceTimes = v == u"always" ? -1 : number();
    else if (a == u"--drop-at") faults.dropAtRecord = number();
    else if (a == u"--slow") faults.slowMs = number();
    else if (a == u"--request-length") faults.requestLength = number();
    else if (a == u"--materials") materials = v;
    else if (a == u"--objects") objects = v;
    else if (a == u"--screen") screen = v;
    else return fail(QStringLiteral("unknown option ") + a);
    if (!ok) return fail(a + QStringLiteral(" needs a whole number, not ") + v);
  }
  if (impacts > grx::kMaxReadImpacts) return fail(QStringLiteral("--impacts takes at most 3556"));

  auto set = std::make_unique<grx::MeasurementSet>();
  if (!data.isEmpty()) {
    if (grx::readProjectFile(data, *set) != grx::ProjectReadResult::Ok)
      return fail(QStringLiteral("File is not readable or damaged: ") + data);
  } else {
    grx::generateSampleMeasurements(*set, impacts, seed);
  }

  grx::sim::TesterCore core;
  grx::sim::loadMeasurements(core, *set);
  grx::sim::loadDefaultNames(core);
  if (!materials.isEmpty() && !grx::sim::loadNameListFile(core, true, materials))
    return fail(QStringLiteral("no material names in ") + materials);
  if (!objects.isEmpty() && !grx::sim::loadNameListFile(core, false, objects))
    return fail(QStringLiteral("no object names in ") + objects);
  if (!screen.isEmpty() && !grx::sim::loadScreenFile(core, screen))
    return fail(QStringLiteral("a screen image file holds 1024 bytes: ") + screen);
  core.faults() = faults;

  grx::sim::PipeTester tester(core, folder.toStdString(), device.toStdString());
  std::string error;
  if (!tester.create(&error)) return fail(QString::fromStdString(error));

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::fprintf(stderr, "grx1-tester-sim: tester %s with %u impacts; Ctrl+C ends\n", tester.devicePath().c_str(),
               set->count());
  tester.serve(g_stop);
  tester.remove();
  return 0;
}
