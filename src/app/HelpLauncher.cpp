#include "HelpLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef _WIN32
#include <windows.h>
#endif

namespace grx {
namespace {
const char* const kChmPath = "Help\\GRX1Help.chm";
}

HelpLauncher::HelpLauncher() {
#ifdef _WIN32
  // HtmlHelpA is export number 14 of hhctrl.ocx.
  HMODULE lib = LoadLibraryA("hhctrl.ocx");
  if (lib) {
    FARPROC fn = GetProcAddress(lib, MAKEINTRESOURCEA(14));
    if (fn) {
      library_ = lib;
      entry_ = reinterpret_cast<void*>(fn);
      available_ = true;
    } else {
      FreeLibrary(lib);
    }
  }
#else
  for (const char* name : {"xchm", "kchmviewer", "uchmviewer"}) {
    viewer_ = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!viewer_.isEmpty()) break;
  }
  available_ = !viewer_.isEmpty();
#endif
}

HelpLauncher::~HelpLauncher() { release(); }

bool HelpLauncher::openContextHelp(const QString& helpFile) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

QString HelpLauncher::htmlHelpFile() { return QDir::fromNativeSeparators(QString::fromLatin1(kChmPath)); }

// On Windows too the help file must be there: the program ships its manual as HTML pages, and
// the HTML help viewer would only say that it cannot open the file.
bool HelpLauncher::canShowHtmlHelp() const {
  return available_ && QFileInfo::exists(QDir::fromNativeSeparators(QString::fromLatin1(kChmPath)));
}

bool HelpLauncher::showHtmlHelpContents(void* window) const {
  if (!available_) return true;  // no viewer: nothing was asked for
#ifdef _WIN32
  using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  return reinterpret_cast<HtmlHelpFn>(entry_)(static_cast<HWND>(window), kChmPath, 1 /* table of contents */, 0);
#else
  (void)window;
  return QProcess::startDetached(viewer_, {htmlHelpFile()});
#endif
}

void HelpLauncher::release() {
#ifdef _WIN32
  if (library_) FreeLibrary(static_cast<HMODULE>(library_));
#endif
  library_ = nullptr;
  entry_ = nullptr;
  available_ = false;
}

}  // namespace grx
