// grx1, the window program: creates the application and the main window, wires them, and hands
// control to the message loop.
#include "ModalUi.h"
#include "TForm1.h"
#include "data/SampleMeasurements.h"
#include "platform/AppPaths.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Developer hooks for screenshots and demonstrations, read from the environment:
//   GRX1_SAMPLE_IMPACTS=N  show N generated sample impacts at start
//   GRX1_GRAB=FILE.png     save a picture of the window shortly after it is shown, then quit
void applyDeveloperHooks(grx::TForm1& form) {
  bool ok = false;
  const int samples = qEnvironmentVariableIntValue("GRX1_SAMPLE_IMPACTS", &ok);
  if (ok && samples > 0) {
    grx::generateSampleMeasurements(form.measurements(), samples, 1);
    form.RebuildTables();
  }
  const QString grab = qEnvironmentVariable("GRX1_GRAB");
  if (!grab.isEmpty()) {
    QTimer::singleShot(700, &form, [&form, grab] {
      form.grab().save(grab);
      std::fflush(nullptr);
      std::_Exit(0);
    });
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  grx::QtModalUi modalUi;
  grx::TForm1::Environment env;
  env.programFolder = grx::programFolderOf(QCoreApplication::applicationFilePath());
  env.ui = &modalUi;
  // Exit ends the program at once: the configuration has been written and closed by then.
  env.exitProcess = [](int code) {
    std::fflush(nullptr);
    std::_Exit(code);
  };
  grx::TForm1 form(env);
  form.FormCreate();
  applyDeveloperHooks(form);
  form.show();
  // Arguments name a project file to open (a name with blanks arrives as several arguments).
  const QStringList arguments = app.arguments().mid(1);
  if (!arguments.isEmpty()) form.OpenFromCommandLine(arguments);
  return app.exec();
}
