#pragma once
// The archive's part in the main window: the option that keeps every completed read, "Add to
// archive", the archive window and opening its selection as the measurement set. The imports run on
// the importer's thread; this only starts them and shows their outcome. The main window creates it
// and hands it what it needs, the take-over of a loaded selection among them.
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <deque>
#include <functional>

class QLabel;
class QWidget;

namespace grx {

class ArchiveImporter;
struct ArchiveError;
struct ArchiveFilter;
struct ImportReport;
class IniFile;
class MapView;
class MeasurementSet;
class ModalUi;
class TfrmArchive;

class MainWindowArchive : public QObject {
  Q_OBJECT
 public:
  struct Environment {
    QWidget* window = nullptr;  // the main window: the archive window's owner, its messages' parent
    ModalUi* ui = nullptr;
    const IniFile* config = nullptr;  // GRX1.ini: the archive's address and the keep option
    QString dataFolder;               // the default archive file goes here
    MeasurementSet* set = nullptr;      // the shown measurements
    MeasurementSet* staging = nullptr;  // a selection is loaded here and swapped in only when whole
    MapView* map = nullptr;             // a search may keep to the map's view
    QLabel* status = nullptr;           // the status bar's first panel
    std::function<QString()> setSource;  // the file the shown set came from; empty: a read or the archive
    std::function<void()> noData;        // says there are no measurements
    // Makes the loaded selection (in `staging`) the measurement set; false when the user kept the
    // shown one. `display`: the archive's address as the protocol names it.
    std::function<bool(const QString& display)> takeOver;
  };

  MainWindowArchive(Environment environment, QObject* parent);

  // The option "Keep every read in the archive", as GRX1.ini holds it, and its change.
  bool keepReads() const;
  void setKeepReads(bool keep) const;
  // Hands a copy of the shown set to the importer; `command`: asked for by the user.
  void add(bool command);
  // Opens the archive window, or brings the open one to the front.
  void showWindow();
  // The language changed.
  void applyCaptions();

  TfrmArchive* window() const;  // the open window, if any
  // Imports under way or waiting.
  int importsPending() const;

 private:
  void importFinished(const ImportReport& report);
  // Opens the archive's selection as an open of a file would; false when it was not opened.
  bool openSelection(const ArchiveFilter& filter, const QList<qint64>& seriesKeys);
  // After a failed open of the archive: a missing archive, or a damaged archive file (put aside
  // under another name), is offered a fresh start. True when the user took it; `error` is cleared
  // when the user declined.
  bool mayStartNew(const QString& connection, ArchiveError& error);
  // Says an archive failure: a message box for a command, once per run for the automatic keep.
  void showFailure(const QString& text, bool command);

  Environment env_;
  ArchiveImporter* importer_ = nullptr;
  QPointer<TfrmArchive> window_;
  bool failureShown_ = false;
  std::deque<std::uint64_t> revisions_;  // of the shown set at the imports under way, in their order
};

}  // namespace grx
