// grx1, the window program: creates the application and the main window, wires them, and hands
// control to the message loop.
#include "GuardedApplication.h"
#include "MainActions.h"
#include "MainLinkView.h"
#include "ui/ModalUi.h"
#include "TForm1.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceLink.h"
#include "platform/AppPaths.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Developer hooks for screenshots and demonstrations, read from the environment:
//   GRX1_SAMPLE_IMPACTS=N  show N generated sample impacts at start
//   GRX1_GRAB=FILE.png     save a picture of the window shortly after it is shown, then quit
//   GRX1_GRAB_DELAY_MS=N   how long after the start the picture is taken (default 700)
//   GRX1_ACTION=NAME       triggers the main window's action NAME (e.g. AMaterialEdit) after start;
//                          GRX1_GRAB then pictures the window it opened (the newest top-level one)
//   GRX1_ACTION_DELAY_MS=N when the action is triggered (default 100)
//   GRX1_TAB=N             shows tab N of the right pane (0: the chart, 1: the map)
void applyDeveloperHooks(grx::TForm1& form) {
  bool ok = false;
  const int samples = qEnvironmentVariableIntValue("GRX1_SAMPLE_IMPACTS", &ok);
  if (ok && samples > 0) {
    grx::generateSampleMeasurements(form.measurements(), samples, 1);
    form.measurements().setModified(true);  // in no file yet, like a read
    form.RebuildTables();
  }
  const int tab = qEnvironmentVariableIntValue("GRX1_TAB", &ok);
  if (ok) form.TabsChartMap->setCurrentIndex(tab);
  const QString action = qEnvironmentVariable("GRX1_ACTION");
  if (!action.isEmpty()) {
    bool delayGiven = false;
    const int delay = qEnvironmentVariableIntValue("GRX1_ACTION_DELAY_MS", &delayGiven);
    QTimer::singleShot(delayGiven ? delay : 100, &form, [&form, action] {
      if (auto* a = form.findChild<QAction*>(action)) a->trigger();
    });
  }
  const QString grab = qEnvironmentVariable("GRX1_GRAB");
  if (!grab.isEmpty()) {
    bool delayGiven = false;
    const int delay = qEnvironmentVariableIntValue("GRX1_GRAB_DELAY_MS", &delayGiven);
    QTimer::singleShot(delayGiven ? delay : 700, &form, [&form, grab] {
      // A window of the program opened by the hooks (the report preview, the About box, a name
      // editor, the screen image) is grabbed instead of the main window.
      QWidget* shown = QApplication::activeModalWidget();
      if (!shown) {
        shown = &form;
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w != &form && w->isVisible() && w->parentWidget() == &form) shown = w;
      }
      shown->grab().save(grab);
      std::fflush(nullptr);
      std::_Exit(0);
    });
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  grx::GuardedApplication app(argc, argv);
  grx::QtModalUi modalUi;
  grx::TForm1::Environment env;
  QCoreApplication::setApplicationName(QStringLiteral("grx1"));  // names the user's folders
  QGuiApplication::setDesktopFileName(QStringLiteral("grx1"));
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icons/grx1-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  env.programFolder = grx::programFolderOf(QCoreApplication::applicationFilePath());
  env.homes = grx::fileHomes(env.programFolder);
  env.ui = &modalUi;
  // Exit ends the program at once: the configuration has been written and closed by then.
  env.exitProcess = [](int code) {
    std::fflush(nullptr);
    std::_Exit(code);
  };
  // The link is created first so the window can be given its shared state; the worker starts as
  // the last step of the window's start-up and is stopped (with a wait) when the window closes.
  grx::MainLinkView linkView;
  grx::DeviceLink link(linkView);
  env.link = &link.shared();
  env.stopWorker = [&link] {
    link.stop();
    link.waitStopped();
  };
  grx::TForm1 form(env);
  linkView.attach(&form);
  // A start-up that fails is reported, and the window still comes up with what it has.
  grx::runGuarded([&form] { form.FormCreate(); });
  link.start();
  applyDeveloperHooks(form);
  form.show();
  // Arguments name a project file to open (a name with blanks arrives as several arguments).
  const QStringList arguments = app.arguments().mid(1);
  if (!arguments.isEmpty()) grx::runGuarded([&] { form.OpenFromCommandLine(arguments); });
  return app.exec();
}
