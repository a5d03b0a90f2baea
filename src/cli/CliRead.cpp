#include "CliRead.h"

#include "CliFiles.h"

#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "device/DeviceLink.h"
#include "device/LinkView.h"
#include "platform/TextPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <cmath>

namespace grx {
namespace {

constexpr const char* kReadUsage = "usage: grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS] [--lang ru|en]";

constexpr const char* kReadHelp =
    "usage: grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS] [--lang ru|en]\n"
    "Reads every impact from the tester through the device link and saves them as a project file.\n"
    "  --timeout SECONDS   longest time without a new answer from the tester (default 30): the\n"
    "                      version, the directory or a record not received before. A read that\n"
    "                      starts over after a fault repeats old answers; they are no sign of life.\n"
    "                      The clock starts with the first search, after the link's start wait.\n"
    "  --max-time SECONDS  longest time for the whole command (default: none)\n"
    "  --lang ru|en        language of the status lines (default en)\n"
    "Seconds are a number from 0.1 to 86400. Exit code 0 when saved, 2 otherwise.\n";

constexpr double kMinSeconds = 0.1;
constexpr double kMaxSeconds = 86400;

// The window's status bar, as lines on stderr. The read is complete when the worker hands over
// the staging set.
class CliLinkView final : public ILinkView {
 public:
  explicit CliLinkView(QTextStream& err) : err_(err) {}

  void setStatusText(int panel, const QString& text) override {
    endProgressLine();
    if (!text.isEmpty() && text != last_[panel & 1]) err_ << (panel == 0 ? "tester: " : "link: ") << text << '\n';
    last_[panel & 1] = text;
    err_.flush();
  }
  void setProgressVisible(bool visible) override {
    if (!visible) endProgressLine();
  }
  void setProgressPosition(int position) override {
    err_ << "\rreading records: " << position << '%';
    err_.flush();
    progressLine_ = true;
  }
  void setLinkIndicator(LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(MeasurementSet& staging) override {
    shown_.swap(staging);
    complete_ = true;
  }

  bool complete() const { return complete_; }
  const MeasurementSet& shown() const { return shown_; }
  // A message of the command's own starts on a line of its own.
  void endProgressLine() {
    if (!progressLine_) return;
    err_ << '\n';
    progressLine_ = false;
  }

 private:

  QTextStream& err_;
  QString last_[2];
  bool progressLine_ = false;
  bool complete_ = false;
  MeasurementSet shown_;
};

// One line; the whole usage is what --help prints.
int usageError(QTextStream& err, const QString& message) {
  err << "grx1-cli read: " << message << " (see grx1-cli read --help)\n";
  return 2;
}

// A number of seconds in the accepted range; "inf", "nan" and "1e300" are not.
bool parseSeconds(const QString& text, double* seconds) {
  bool ok = false;
  const double v = text.toDouble(&ok);
  if (!ok || !std::isfinite(v) || v < kMinSeconds || v > kMaxSeconds) return false;
  *seconds = v;
  return true;
}

}  // namespace

int runCliRead(const QStringList& args, QTextStream& out, QTextStream& err) {
  return runCliRead(args, out, err, nullptr);
}

int runCliRead(const QStringList& args, QTextStream& out, QTextStream& err, std::unique_ptr<LinkSleeper> sleeper) {
  QString output;
  double timeoutSeconds = 30;
  double maxSeconds = 0;  // 0: no bound on the whole command
  Language language = Language::English;  // the status texts, as the other commands default
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--help" || a == u"-h") {
      out << kReadHelp;
      out.flush();
      return 0;
    }
    if (a != u"-o" && a != u"--timeout" && a != u"--max-time" && a != u"--lang")
      return usageError(err, QStringLiteral("unknown argument \"") + a + u'"');
    if (i + 1 >= args.size()) return usageError(err, a + QStringLiteral(" needs a value"));
    const QString v = args[++i];
    if (a == u"-o") {
      output = v;
    } else if (a == u"--lang") {
      if (v != u"ru" && v != u"en") return usageError(err, QStringLiteral("--lang takes ru or en, not \"") + v + u'"');
      language = v == u"ru" ? Language::Russian : Language::English;
    } else if (!parseSeconds(v, a == u"--timeout" ? &timeoutSeconds : &maxSeconds)) {
      return usageError(err, a + QStringLiteral(" needs a number of seconds from 0.1 to 86400, not \"") + v + u'"');
    }
  }
  if (output.isEmpty()) return usageError(err, QStringLiteral("read needs -o OUT.grx"));
  setCurrentLanguage(language);

  CliLinkView view(err);
  // Two clocks. The time-out runs from the worker's first search (its fixed start wait is the
  // link's own) and restarts with every fresh answer of the tester; a read that starts over after
  // a fault gives no fresh answer until it gets past where it failed. The whole-command bound
  // runs from the start.
  auto link = std::make_unique<DeviceLink>(view, std::move(sleeper));
  QElapsedTimer sinceStart, sinceAnswer;
  sinceStart.start();
  link->start();
  const qint64 timeoutMs = qint64(timeoutSeconds * 1000);
  const qint64 maxMs = qint64(maxSeconds * 1000);
  std::uint32_t answers = 0;
  bool opened = false;  // the tester was found and opened at least once
  auto fail = [&](const QString& message) {
    link.reset();  // stops the worker first: no status line comes after the message
    view.endProgressLine();
    err << "grx1-cli read: " << message << '\n';
    err.flush();
    return 2;
  };
  while (!view.complete()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const std::uint8_t state = link->shared().state();
    if (!sinceAnswer.isValid() && state != lsStartup) sinceAnswer.start();
    if (state != lsStartup && state != lsConnect) opened = true;
    const std::uint32_t now = link->worker().freshAnswers();
    if (now != answers) {
      answers = now;
      sinceAnswer.restart();
    }
    if (view.complete()) break;
    const QString seconds = QString::number(timeoutSeconds);
    if (maxMs > 0 && sinceStart.elapsed() > maxMs)
      return fail(QStringLiteral("the read did not finish within ") + QString::number(maxSeconds) +
                  QStringLiteral(" s (--max-time)"));
    if (sinceAnswer.isValid() && sinceAnswer.elapsed() > timeoutMs) {
      if (answers > 0) return fail(QStringLiteral("the tester stopped answering: nothing new within ") + seconds + " s");
      if (opened)
        return fail(QStringLiteral("the tester was found but did not answer within ") + seconds +
                    QStringLiteral(" s; the link itself waits 0.35 s before the first answer"));
      return fail(QStringLiteral("no tester answered within ") + seconds + " s");
    }
    QThread::msleep(2);
  }
  link.reset();  // stops the worker; the set is in the view

  const MeasurementSet& set = view.shown();
  if (set.isEmpty()) {
    err << "grx1-cli read: the tester holds no impacts (No Data); nothing saved\n";
    return 2;
  }
  if (writeProjectFileNamed(set, output) != ProjectWriteResult::Ok) {
    err << "grx1-cli read: cannot write " << output << '\n';
    return 2;
  }
  err << "grx1-cli read: " << set.count() << " impacts in " << set.seriesCount() << " series saved to " << output
      << '\n';
  out.flush();
  return 0;
}

}  // namespace grx
