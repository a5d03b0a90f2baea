#include "CliNames.h"

#include "config/ScreenshotSettings.h"
#include "device/DeviceLink.h"
#include "device/LinkRequests.h"
#include "device/LinkView.h"
#include "names/NameLists.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "screen/ScreenPicture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <optional>

namespace grx {
namespace {

constexpr const char* kNamesUsage =
    "usage: grx1-cli names get materials|objects -o FILE [--timeout SECONDS] | "
    "names put materials|objects FILE [--timeout SECONDS]";
constexpr const char* kScreenshotUsage = "usage: grx1-cli screenshot -o FILE.bmp [--timeout SECONDS]";

// The window's status panel 1 as lines on stderr; progress counts as a sign of life.
class StatusLines final : public ILinkView {
 public:
  explicit StatusLines(QTextStream& err) : err_(err) {}
  void setStatusText(int panel, const QString& text) override {
    if (panel == 1 && !text.isEmpty() && text != last_) err_ << "link: " << text << '\n';
    if (panel == 1) last_ = text;
    err_.flush();
  }
  void setProgressVisible(bool) override {}
  void setProgressPosition(int) override { alive = true; }
  void setLinkIndicator(LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(MeasurementSet&) override {}  // the stored impacts are not needed here
  bool alive = false;

 private:
  QTextStream& err_;
  QString last_;
};

struct Common {
  QString output;
  double timeoutSeconds = 30;
  QStringList rest;  // the arguments that are neither -o nor --timeout
};

// Takes -o and --timeout out of the arguments; an error text for a bad value.
std::optional<QString> parseCommon(const QStringList& args, Common& c) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a != u"-o" && a != u"--timeout") {
      if (a.startsWith(u'-')) return QStringLiteral("unknown option \"") + a + u'"';
      c.rest.append(a);
      continue;
    }
    if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value");
    const QString v = args[++i];
    if (a == u"-o") {
      c.output = v;
      continue;
    }
    bool ok = false;
    c.timeoutSeconds = v.toDouble(&ok);
    if (!ok || !(c.timeoutSeconds > 0))
      return QStringLiteral("--timeout needs a number of seconds above 0, not \"") + v + u'"';
  }
  return std::nullopt;
}

// The device link of one command: started at once; `untilIdle` waits for the end of its start-up
// read. The time-out runs from the start until the tester first answers, then from its last sign
// of life (a state change or a record read).
class CommandLink {
 public:
  CommandLink(QTextStream& err, CliLinkOptions& options, double timeoutSeconds)
      : view_(err), link_(std::make_unique<DeviceLink>(view_, std::move(options.sleeper))),
        timeoutMs_(qint64(timeoutSeconds * 1000)) {
    setCurrentLanguage(Language::English);
    clock_.start();
    link_->start();
  }
  ~CommandLink() { link_.reset(); }

  LinkShared& shared() { return link_->shared(); }
  bool timedOut() {
    const std::uint8_t state = shared().state();
    if (!requesting_ && (state != lastState_ || view_.alive)) {
      if (state != lsStartup && state != lsConnect) clock_.restart();
      lastState_ = state;
      view_.alive = false;
    }
    return clock_.elapsed() > timeoutMs_;
  }
  bool untilIdle() {
    while (shared().state() != lsIdle) {
      if (timedOut()) return false;
      waiter.waitMs(5);
    }
    return true;
  }
  // From here on the time-out runs for the request itself: its own state changes are no answer.
  void requestStarts() {
    requesting_ = true;
    clock_.restart();
  }

  EventLoopWaiter waiter;

 private:
  StatusLines view_;
  std::unique_ptr<DeviceLink> link_;
  QElapsedTimer clock_;
  qint64 timeoutMs_;
  std::uint8_t lastState_ = lsStartup;
  bool requesting_ = false;
};

int fail(QTextStream& err, const char* command, const QString& message) {
  err << "grx1-cli " << command << ": " << message << '\n';
  return 2;
}

int usage(QTextStream& err, const char* command, const QString& message, const char* usageText) {
  err << "grx1-cli " << command << ": " << message << '\n' << usageText << '\n';
  return 2;
}

QString noTester(double seconds) {
  return QStringLiteral("no tester answered within ") + QString::number(seconds) + QStringLiteral(" s");
}

}  // namespace

int runCliNames(const QStringList& args, QTextStream& out, QTextStream& err, CliLinkOptions options) {
  Common c;
  if (const auto problem = parseCommon(args, c)) return usage(err, "names", *problem, kNamesUsage);
  if (c.rest.size() < 2) return usage(err, "names", QStringLiteral("names needs get or put and a list"), kNamesUsage);
  const QString verb = c.rest[0];
  if (verb != u"get" && verb != u"put") return usage(err, "names", QStringLiteral("unknown action \"") + verb + u'"', kNamesUsage);
  if (c.rest[1] != u"materials" && c.rest[1] != u"objects")
    return usage(err, "names", QStringLiteral("the list is materials or objects, not \"") + c.rest[1] + u'"', kNamesUsage);
  const NameList list = c.rest[1] == u"materials" ? NameList::Materials : NameList::Objects;
  const bool get = verb == u"get";
  QString file;
  if (get) {
    if (c.rest.size() > 2) return usage(err, "names", QStringLiteral("unexpected argument \"") + c.rest[2] + u'"', kNamesUsage);
    if (c.output.isEmpty()) return usage(err, "names", QStringLiteral("names get needs -o FILE"), kNamesUsage);
    file = c.output;
  } else {
    if (c.rest.size() != 3 || !c.output.isEmpty())
      return usage(err, "names", QStringLiteral("names put needs exactly one FILE and no -o"), kNamesUsage);
    file = c.rest[2];
  }

  NameBlock block{};
  // A file without any name of the list is refused before the tester is touched.
  if (!get && !readNameListFile(file, list, block))
    return fail(err, "names", kFileDamaged.text(Language::English) + QStringLiteral(": ") + file);

  CommandLink link(err, options, c.timeoutSeconds);
  if (!link.untilIdle()) return fail(err, "names", noTester(c.timeoutSeconds));
  link.requestStarts();
  for (;;) {
    // The requests wait 2 s (read) or 5 s (write) and withdraw; the command tries again until its
    // own time-out.
    const RequestResult result = get ? readNamesFromTester(link.shared(), list, link.waiter, block)
                                     : writeNamesToTester(link.shared(), list, block, link.waiter);
    if (result == RequestResult::Done) break;
    if (link.timedOut()) return fail(err, "names", noTester(c.timeoutSeconds));
    if (result == RequestResult::NotPosted) link.waiter.waitMs(10);
  }
  if (get) {
    QFile::remove(file);  // -o replaces the file (the window's dialog asks first)
    if (!writeNameListFile(file, list, block))
      return fail(err, "names", cannotCreateFileText(file, Language::English).replace(u'\n', u' '));
    err << "grx1-cli names: the tester's " << c.rest[1] << " saved to " << file << '\n';
  } else {
    err << "grx1-cli names: " << c.rest[1] << " from " << file << " written to the tester\n";
  }
  out.flush();
  return 0;
}

int runCliScreenshot(const QStringList& args, QTextStream& out, QTextStream& err, CliLinkOptions options) {
  Common c;
  if (const auto problem = parseCommon(args, c)) return usage(err, "screenshot", *problem, kScreenshotUsage);
  if (!c.rest.isEmpty())
    return usage(err, "screenshot", QStringLiteral("unexpected argument \"") + c.rest[0] + u'"', kScreenshotUsage);
  if (c.output.isEmpty()) return usage(err, "screenshot", QStringLiteral("screenshot needs -o FILE.bmp"), kScreenshotUsage);
  // The colours of the window program: its GRX1.ini, beside it or in the user's folder.
  const QString folder = options.programFolder.isEmpty()
                             ? fileHomes(programFolderOf(QCoreApplication::applicationFilePath())).config
                             : options.programFolder;
  const IniFile config(configFilePath(folder));
  const WinColor ink = readPenColor(config);
  const WinColor background = readBackgroundColor(config);

  CommandLink link(err, options, c.timeoutSeconds);
  if (!link.untilIdle()) return fail(err, "screenshot", noTester(c.timeoutSeconds));
  link.requestStarts();
  for (;;) {
    const bool read = requestScreen(link.shared(), link.waiter, [&] { return link.timedOut(); });
    if (!read) {
      withdrawScreenRequest(link.shared(), link.waiter);
      return fail(err, "screenshot", noTester(c.timeoutSeconds));
    }
    if (link.shared().state() == lsIdle) break;
    // The error path sent the worker back to the search: ask again once it is idle.
    while (link.shared().state() != lsIdle) {
      if (link.timedOut()) return fail(err, "screenshot", noTester(c.timeoutSeconds));
      link.waiter.waitMs(5);
    }
  }
  ScreenImage image = link.shared().screenImage();
  PixelMap map = framedPixelMap();
  decodeScreenImage(image, map);
  if (!writePictureFile(c.output, pictureBmp(map, ink, background)))
    return fail(err, "screenshot", cannotCreateFileText(c.output, Language::English).replace(u'\n', u' '));
  err << "grx1-cli screenshot: the tester's screen saved to " << c.output << '\n';
  out.flush();
  return 0;
}

}  // namespace grx
