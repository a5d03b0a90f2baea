#include "CliRead.h"

#include "AnswerClock.h"
#include "data/ProjectFile.h"

#include "data/MeasurementSet.h"
#include "device/DeviceLink.h"
#include "device/LinkView.h"
#include "platform/Messages.h"
#include "platform/TextPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>


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
    } else if (!parseCommandSeconds(v, a == u"--timeout" ? &timeoutSeconds : &maxSeconds)) {
      return usageError(err, a + QStringLiteral(" needs ") + kSecondsRange + QStringLiteral(", not \"") + v + u'"');
    }
  }
  if (output.isEmpty()) return usageError(err, QStringLiteral("read needs -o OUT.grx"));
  setCurrentLanguage(language);

  CliLinkView view(err);
  // Two clocks: the time-out without a fresh answer (AnswerClock), and the whole-command bound
  // from the start.
  auto link = std::make_unique<DeviceLink>(view, std::move(sleeper));
  QElapsedTimer sinceStart;
  sinceStart.start();
  link->start();
  const qint64 maxMs = qint64(maxSeconds * 1000);
  AnswerClock clock(timeoutSeconds);
  auto fail = [&](const QString& message) {
    link.reset();  // stops the worker first: no status line comes after the message
    view.endProgressLine();
    err << "grx1-cli read: " << message << '\n';
    err.flush();
    return 2;
  };
  while (!view.complete()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const bool expired = clock.expired(*link);
    if (view.complete()) break;
    const QString seconds = QString::number(timeoutSeconds);
    if (maxMs > 0 && sinceStart.elapsed() > maxMs)
      return fail(QStringLiteral("the read did not finish within ") + QString::number(maxSeconds) +
                  QStringLiteral(" s (--max-time)"));
    if (expired) {
      if (clock.answers() > 0) return fail(QStringLiteral("the tester stopped answering: nothing new within ") + seconds + " s");
      if (clock.opened())
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
  if (writeProjectFile(set, output) != ProjectWriteResult::Ok) {
    err << "grx1-cli read: " << cannotCreateFileText(output, language).replace(u'\n', u' ') << '\n';
    return 2;
  }
  err << "grx1-cli read: " << set.count() << " impacts in " << set.seriesCount() << " series saved to " << output
      << '\n';
  out.flush();
  return 0;
}

}  // namespace grx
