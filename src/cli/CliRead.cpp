#include "CliRead.h"

#include "data/MeasurementSet.h"
#include "data/ProjectFile.h"
#include "device/DeviceLink.h"
#include "device/LinkView.h"
#include "platform/TextPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

namespace grx {
namespace {

constexpr const char* kReadUsage = "usage: grx1-cli read -o OUT.grx [--timeout SECONDS] [--lang ru|en]";

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
    alive();
  }
  void setLinkIndicator(LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(MeasurementSet& staging) override {
    shown_.swap(staging);
    complete_ = true;
  }

  bool complete() const { return complete_; }
  const MeasurementSet& shown() const { return shown_; }
  // Time of the tester's last sign of life, for the time-out.
  const QElapsedTimer& lastActivity() const { return activity_; }
  void startClock() { activity_.start(); }

 private:
  void endProgressLine() {
    if (!progressLine_) return;
    err_ << '\n';
    progressLine_ = false;
  }
  void alive() {
    if (activity_.isValid()) activity_.restart();
  }

  QTextStream& err_;
  QString last_[2];
  bool progressLine_ = false;
  bool complete_ = false;
  MeasurementSet shown_;
  QElapsedTimer activity_;
};

int usageError(QTextStream& err, const QString& message) {
  err << "grx1-cli read: " << message << '\n' << kReadUsage << '\n';
  return 2;
}

}  // namespace

int runCliRead(const QStringList& args, QTextStream& out, QTextStream& err) {
  return runCliRead(args, out, err, nullptr);
}

int runCliRead(const QStringList& args, QTextStream& out, QTextStream& err, std::unique_ptr<LinkSleeper> sleeper) {
  QString output;
  double timeoutSeconds = 30;
  Language language = Language::English;  // the status texts, as the other commands default
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a != u"-o" && a != u"--timeout" && a != u"--lang")
      return usageError(err, QStringLiteral("unknown argument \"") + a + u'"');
    if (i + 1 >= args.size()) return usageError(err, a + QStringLiteral(" needs a value"));
    const QString v = args[++i];
    if (a == u"-o") {
      output = v;
    } else if (a == u"--lang") {
      if (v != u"ru" && v != u"en") return usageError(err, QStringLiteral("--lang takes ru or en, not \"") + v + u'"');
      language = v == u"ru" ? Language::Russian : Language::English;
    } else {
      bool ok = false;
      timeoutSeconds = v.toDouble(&ok);
      if (!ok || timeoutSeconds <= 0)
        return usageError(err, QStringLiteral("--timeout needs a number of seconds above 0, not \"") + v + u'"');
    }
  }
  if (output.isEmpty()) return usageError(err, QStringLiteral("read needs -o OUT.grx"));
  setCurrentLanguage(language);

  CliLinkView view(err);
  // The time-out runs from the start until the tester first answers (the worker leaves the
  // search), and from then on from the last record read: statuses alone are no sign of life, the
  // search repeats its own every cycle.
  auto link = std::make_unique<DeviceLink>(view, std::move(sleeper));
  QElapsedTimer sinceStart;
  sinceStart.start();
  link->start();
  const qint64 timeoutMs = qint64(timeoutSeconds * 1000);
  bool answered = false;
  while (!view.complete()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const std::uint8_t state = link->shared().state();
    if (!answered && state != lsStartup && state != lsConnect) {
      answered = true;
      view.startClock();
    }
    const bool timedOut = answered ? view.lastActivity().elapsed() > timeoutMs : sinceStart.elapsed() > timeoutMs;
    if (timedOut) {
      link.reset();
      err << "grx1-cli read: " << (answered ? "the tester stopped answering" : "no tester answered") << " within "
          << timeoutSeconds << " s\n";
      return 2;
    }
    if (!view.complete()) QThread::msleep(2);
  }
  link.reset();  // stops the worker; the set is in the view

  const MeasurementSet& set = view.shown();
  if (set.isEmpty()) {
    err << "grx1-cli read: the tester holds no impacts (No Data); nothing saved\n";
    return 2;
  }
  if (writeProjectFile(set, output) != ProjectWriteResult::Ok) {
    err << "grx1-cli read: cannot write " << output << '\n';
    return 2;
  }
  err << "grx1-cli read: " << set.count() << " impacts in " << set.seriesCount() << " series saved to " << output
      << '\n';
  out.flush();
  return 0;
}

}  // namespace grx
