#pragma once
// The two kinds of help: the context help file opened with the desktop's viewer (F1), and the HTML
// help's table of contents where the platform has a viewer for it.
#include <QString>

namespace grx {

class HelpLauncher {
 public:
  // Looks for the HTML-help entry point once (the start of the program).
  HelpLauncher();
  ~HelpLauncher();
  HelpLauncher(const HelpLauncher&) = delete;
  HelpLauncher& operator=(const HelpLauncher&) = delete;

  // Opens the help file with the desktop's "open"; a missing file is the viewer's business. False
  // when no viewer or browser could be started.
  static bool openContextHelp(const QString& helpFile);

  bool hasHtmlHelp() const { return available_; }
  // Whether the HTML help can show something: its viewer (the entry point on Windows) and the help
  // file in the working folder.
  bool canShowHtmlHelp() const;
  // Shows the table of contents of "Help\GRX1Help.chm" (relative to the working folder); does
  // nothing when no viewer exists. False when the viewer could not be started.
  bool showHtmlHelpContents(void* window) const;
  // The HTML help file, as the viewer is given it.
  static QString htmlHelpFile();
  // Releases the help library.
  void release();

 private:
  bool available_ = false;
  void* library_ = nullptr;
  void* entry_ = nullptr;
  QString viewer_;
};

}  // namespace grx
