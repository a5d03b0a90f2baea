#include "CliNames.h"

#include "AnswerClock.h"

#include "config/ScreenshotSettings.h"
#include "device/DeviceLink.h"
#include "device/LinkRequests.h"
#include "device/LinkView.h"
#include "names/NameLists.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "platform/SafeFile.h"
#include "screen/ScreenPicture.h"

#include <QCoreApplication>
#include <QTextStream>

#include <optional>

namespace grx {
namespace {

// The window's status panel 1 as lines on stderr.
class StatusLines final : public ILinkView {
 public:
  explicit StatusLines(QTextStream& err) : err_(err) {}
  void setStatusText(int panel, const QString& text) override {
    if (panel == 1 && !text.isEmpty() && text != last_) err_ << "link: " << text << '\n';
    if (panel == 1) last_ = text;
    err_.flush();
  }
  void setProgressVisible(bool) override {}
  void setProgressPosition(int) override {}
  void setLinkIndicator(LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(MeasurementSet&) override {}  // the stored impacts are not needed here

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
    if (a == u"-o") c.output = v;
    else if (!parseCommandSeconds(v, &c.timeoutSeconds))
      return QStringLiteral("--timeout needs ") + kSecondsRange + QStringLiteral(", not \"") + v + u'"';
  }
  return std::nullopt;
}

// The device link of one command, started at once, with the time-out of every tester command:
// no fresh answer within it (AnswerClock).
class CommandLink {
 public:
  CommandLink(QTextStream& err, CliLinkOptions& options, double timeoutSeconds)
      : view_(err), link_(std::make_unique<DeviceLink>(view_, std::move(options.sleeper))), clock_(timeoutSeconds),
        seconds_(timeoutSeconds) {
    setCurrentLanguage(Language::English);
    link_->start();
  }

  LinkShared& shared() { return link_->shared(); }
  DeviceLink& link() { return *link_; }
  bool timedOut() { return clock_.expired(*link_); }
  // Waits for the end of the worker's start-up read.
  bool untilIdle() {
    while (shared().state() != lsIdle) {
      if (timedOut()) return false;
      waiter.waitMs(5);
    }
    return true;
  }
  // Why the command gave up; `shortAnswer` is the length of a cut answer (0: none came) and
  // `whole` the length it should have had.
  QString failure(int shortAnswer, int whole) const {
    const QString seconds = QString::number(seconds_);
    if (shortAnswer > 0)
      return QStringLiteral("the tester answered only ") + QString::number(shortAnswer) + QStringLiteral(" of ") +
             QString::number(whole) + QStringLiteral(" bytes; no whole answer within ") + seconds + QStringLiteral(" s");
    if (clock_.answers() > 0) return QStringLiteral("the tester stopped answering: nothing new within ") + seconds + " s";
    return QStringLiteral("no tester answered within ") + seconds + QStringLiteral(" s");
  }

  EventLoopWaiter waiter;

 private:
  StatusLines view_;
  std::unique_ptr<DeviceLink> link_;
  AnswerClock clock_;
  double seconds_;
};

int fail(QTextStream& err, const char* command, const QString& message) {
  err << "grx1-cli " << command << ": " << message << '\n';
  return 2;
}

// An argument error: one line, pointing to the usage.
int usage(QTextStream& err, const char* command, const QString& message) {
  err << "grx1-cli " << command << ": " << message << " (see grx1-cli --help)\n";
  return 2;
}

int cannotWrite(QTextStream& err, const char* command, const QString& file) {
  return fail(err, command, cannotCreateFileText(file, Language::English).replace(u'\n', u' '));
}

}  // namespace

int runCliNames(const QStringList& args, QTextStream& out, QTextStream& err, CliLinkOptions options) {
  Common c;
  if (const auto problem = parseCommon(args, c)) return usage(err, "names", *problem);
  if (c.rest.size() < 2) return usage(err, "names", QStringLiteral("names needs get or put and a list"));
  const QString verb = c.rest[0];
  if (verb != u"get" && verb != u"put") return usage(err, "names", QStringLiteral("unknown action \"") + verb + u'"');
  if (c.rest[1] != u"materials" && c.rest[1] != u"objects")
    return usage(err, "names", QStringLiteral("the list is materials or objects, not \"") + c.rest[1] + u'"');
  const NameList list = c.rest[1] == u"materials" ? NameList::Materials : NameList::Objects;
  const bool get = verb == u"get";
  QString file;
  if (get) {
    if (c.rest.size() > 2) return usage(err, "names", QStringLiteral("unexpected argument \"") + c.rest[2] + u'"');
    if (c.output.isEmpty()) return usage(err, "names", QStringLiteral("names get needs -o FILE"));
    file = c.output;
    // Refused before the tester is asked, as a read-only or special file is everywhere.
    if (!mayReplaceFile(file)) return cannotWrite(err, "names", file);
  } else {
    if (c.rest.size() != 3 || !c.output.isEmpty())
      return usage(err, "names", QStringLiteral("names put needs exactly one FILE and no -o"));
    file = c.rest[2];
  }

  NameBlock block{};
  // A file without any name of the list is refused before the tester is touched.
  if (!get && !readNameListFile(file, list, block))
    return fail(err, "names", kFileDamaged.text(Language::English) + QStringLiteral(": ") + file);

  CommandLink link(err, options, c.timeoutSeconds);
  if (!link.untilIdle()) return fail(err, "names", link.failure(0, kNameBlockSize));
  int shortAnswer = 0;
  const auto giveUp = [&] { return link.timedOut(); };
  for (;;) {
    // Each request waits 2 s (read) or 5 s (write) and withdraws; the command asks again until its
    // own time-out. A cut name block is a failed exchange too: its missing names would be saved
    // empty.
    const RequestResult result = get ? readNamesFromTester(link.shared(), list, link.waiter, block, giveUp)
                                     : writeNamesToTester(link.shared(), list, block, link.waiter, giveUp);
    if (result == RequestResult::Done) {
      const int received = link.link().worker().lastAnswerBytes();
      if (!get || received >= kNameBlockSize) break;
      shortAnswer = received;
    }
    if (link.timedOut()) return fail(err, "names", link.failure(shortAnswer, kNameBlockSize));
    if (result == RequestResult::NotPosted) link.waiter.waitMs(10);
  }
  if (get) {
    const int broken = namesWithLineBreaks(block);
    if (!writeNameListFile(file, list, block)) return cannotWrite(err, "names", file);
    if (broken > 0)
      err << "grx1-cli names: " << broken << (broken == 1 ? " name holds" : " names hold")
          << " a line break; written with a blank in its place\n";
    err << "grx1-cli names: the tester's " << c.rest[1] << " saved to " << file << '\n';
  } else {
    err << "grx1-cli names: " << c.rest[1] << " from " << file << " written to the tester\n";
  }
  out.flush();
  return 0;
}

int runCliScreenshot(const QStringList& args, QTextStream& out, QTextStream& err, CliLinkOptions options) {
  Common c;
  if (const auto problem = parseCommon(args, c)) return usage(err, "screenshot", *problem);
  if (!c.rest.isEmpty()) return usage(err, "screenshot", QStringLiteral("unexpected argument \"") + c.rest[0] + u'"');
  if (c.output.isEmpty()) return usage(err, "screenshot", QStringLiteral("screenshot needs -o FILE.bmp"));
  if (!mayReplaceFile(c.output)) return cannotWrite(err, "screenshot", c.output);
  // The colours of the window program: its GRX1.ini, beside it or in the user's folder.
  const QString folder = options.programFolder.isEmpty()
                             ? fileHomes(programFolderOf(QCoreApplication::applicationFilePath())).config
                             : options.programFolder;
  const IniFile config(configFilePath(folder));
  const WinColor ink = readPenColor(config);
  const WinColor background = readBackgroundColor(config);

  CommandLink link(err, options, c.timeoutSeconds);
  if (!link.untilIdle()) return fail(err, "screenshot", link.failure(0, kScreenImageSize));
  int shortAnswer = 0;
  const auto giveUp = [&] { return link.timedOut(); };
  for (;;) {
    // requestScreen waits for the idle link, posts and waits for the answer. The worker being
    // stopped at the end needs no withdrawal of a request still posted.
    if (!requestScreen(link.shared(), link.waiter, giveUp))
      return fail(err, "screenshot", link.failure(shortAnswer, kScreenImageSize));
    if (link.shared().state() != lsIdle) continue;  // the error path restarted the search
    // A cut image would be saved with a blank part: asked again until a whole one comes.
    const int received = link.link().worker().lastAnswerBytes();
    if (received >= kScreenImageSize) break;
    shortAnswer = received;
  }
  ScreenImage image = link.shared().screenImage();
  PixelMap map = framedPixelMap();
  decodeScreenImage(image, map);
  if (!writePictureFile(c.output, pictureBmp(map, ink, background))) return cannotWrite(err, "screenshot", c.output);
  err << "grx1-cli screenshot: the tester's screen saved to " << c.output << '\n';
  out.flush();
  return 0;
}

}  // namespace grx
