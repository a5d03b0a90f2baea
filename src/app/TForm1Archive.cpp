// The main window's part in the measurement archive: the option that keeps every completed read,
// "Add to archive", the archive window, and opening its selection as the measurement set. The
// imports run on the importer's thread; the window only starts them and shows their outcome.
#include "TForm1.h"

#include "LinkLamp.h"
#include "MainActions.h"
#include "archive/ArchiveImporter.h"
#include "archive/ArchiveTexts.h"
#include "archive/TfrmArchive.h"
#include "config/ArchiveSettings.h"
#include "device/LinkState.h"
#include "device/LinkTexts.h"
#include "geo/MapView.h"
#include "platform/LocalFiles.h"
#include "platform/Messages.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QCheckBox>
#include <QLabel>

namespace grx {
namespace {

constexpr TextPair kStartNewArchive{"%1.\nНачать новый архив?", "%1.\nStart a new archive?"};
constexpr TextPair kPutDamagedAside{"%1.\nНачать новый архив? Испорченный файл будет переименован в \"%2\" и сохранён.",
                                    "%1.\nStart a new archive? The damaged file is renamed to \"%2\" and kept."};
constexpr TextPair kOpenJoined{"Всё равно открыть?", "Open anyway?"};

}  // namespace

void TForm1::connectArchiveActions() {
  archiveImporter_ = new ArchiveImporter(this);
  connect(archiveImporter_, &ArchiveImporter::finished, this, &TForm1::archiveImportFinished);
  Actions->AArchiveKeep->setChecked(readArchiveSettings(ini_, dataFolder()).keepReads);
  connect(Actions->AArchive, &QAction::triggered, this, &TForm1::AArchiveExecute);
  connect(Actions->AArchiveAdd, &QAction::triggered, this, &TForm1::AArchiveAddExecute);
  connect(Actions->AArchiveKeep, &QAction::triggered, this, &TForm1::AArchiveKeepExecute);
  // A search within the map's view follows the user's zoom and pan.
  connect(MapView1, &MapView::viewChanged, this, [this] {
    if (archiveWindow_ && archiveWindow_->checkMapArea->isChecked()) archiveWindow_->FilterChange();
  });
}

TfrmArchive* TForm1::archiveWindow() const { return archiveWindow_; }
int TForm1::archiveImportsPending() const { return archiveImporter_->pending(); }

void TForm1::AArchiveKeepExecute() { writeKeepReads(ini_, Actions->AArchiveKeep->isChecked()); }

void TForm1::AArchiveAddExecute() { addToArchive(true); }

void TForm1::addToArchive(bool command) {
  if (set_->isEmpty()) {
    showNoData();
    return;
  }
  archiveImporter_->start(readArchiveSettings(ini_, dataFolder()).connection, *set_, setSource_, command);
  archivedRevisions_.push_back(set_->revision());
  StatusPanel[0]->setText(kArchiveImporting.text());
}

void TForm1::archiveImportFinished(const ImportReport& report) {
  const std::uint64_t revision = archivedRevisions_.empty() ? 0 : archivedRevisions_.front();
  if (!archivedRevisions_.empty()) archivedRevisions_.pop_front();
  // What the archive holds is kept: unchanged since, the set needs no save to be safe.
  if (!report.error && revision == set_->revision()) set_->setModified(false);
  if (report.error) {
    StatusPanel[0]->setText(kArchiveTitle.text() + QStringLiteral(": -"));
    showArchiveFailure(archiveErrorText(report.error, report.connection, currentLanguage()), report.command);
    return;
  }
  StatusPanel[0]->setText(importOutcomeText(report.outcome, currentLanguage()));
  if (archiveWindow_) archiveWindow_->refresh();
}

void TForm1::showArchiveFailure(const QString& text, bool command) {
  // A read goes on without the archive: the failure of the automatic keep is said once a run.
  if (!command && archiveFailureShown_) return;
  if (!command) archiveFailureShown_ = true;
  ui().message(this, {kAppTitle.text(), text + u'\n' + kWithoutArchive.text(), ModalUi::Icon::Warning, ModalUi::Ok,
                      ModalUi::Ok});
}

void TForm1::AArchiveExecute() {
  if (archiveWindow_) {
    archiveWindow_->showNormal();
    archiveWindow_->raise();
    archiveWindow_->activateWindow();
    return;
  }
  const QString connection = readArchiveSettings(ini_, dataFolder()).connection;
  ArchiveError error;
  // Looking needs no writing: a read-only archive opens too, a missing one is not made here.
  std::unique_ptr<Archive> archive = Archive::open(connection, error, ArchiveAccess::Read);
  if (!archive && mayStartNewArchive(connection, error))
    archive = Archive::open(connection, error, ArchiveAccess::Write);
  if (!archive) {
    if (error) showArchiveFailure(archiveErrorText(error, connection, currentLanguage()), true);
    return;
  }
  TfrmArchive::Environment env{std::move(archive), env_.ui,
                               [this](const ArchiveFilter& f, const QList<qint64>& keys) { return openFromArchive(f, keys); },
                               [this]() -> std::optional<ArchiveFilter::Area> {
                                 const std::optional<GeoArea> a = MapView1->visibleArea();
                                 if (!a) return std::nullopt;
                                 return ArchiveFilter::Area{a->south, a->north, a->west, a->east};
                               }};
  archiveWindow_ = new TfrmArchive(std::move(env), this);
  archiveWindow_->FormCreate();
  archiveWindow_->show();
}

bool TForm1::mayStartNewArchive(const QString& connection, ArchiveError& error) {
  // A damaged archive file is put aside under a name of its own, never deleted; a missing one is
  // simply made. A server's database is the lab's to mend.
  const std::optional<ArchiveLocation> location = parseArchiveLocation(connection);
  const bool file = location && location->engine == ArchiveEngine::Sqlite;
  if (error.failure != ArchiveFailure::NoArchive && !(file && error.failure == ArchiveFailure::NotAnArchive)) return false;
  QString aside;
  if (error.failure == ArchiveFailure::NotAnArchive)
    aside = location->path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  const QString question = error.failure == ArchiveFailure::NoArchive
                               ? kStartNewArchive.text().arg(archiveErrorText(error, connection, currentLanguage()))
                               : kPutDamagedAside.text()
                                     .arg(archiveErrorText(error, connection, currentLanguage()),
                                          QDir::toNativeSeparators(aside));
  const int answer = ui().message(this, {kAppTitle.text(), question, ModalUi::Icon::Question, ModalUi::Yes | ModalUi::No,
                                         ModalUi::No});
  if (answer != ModalUi::Yes) {
    error = {};  // answered: nothing more to say
    return false;
  }
  if (aside.isEmpty()) return true;
  // The journal files belong to the damaged file and go with it.
  for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
    if (localFileState(location->path + suffix).exists) renameLocalFile(location->path + suffix, aside + suffix);
  if (renameLocalFile(location->path, aside)) return true;
  error = {ArchiveFailure::CannotOpen, {}, 0};
  return false;
}

bool TForm1::openFromArchive(const ArchiveFilter& filter, const QList<qint64>& seriesKeys) {
  if (!archiveWindow_) return false;
  Archive& archive = archiveWindow_->archive();
  // Loaded beside the shown set and swapped in only when whole, as an open of a file.
  QList<JoinedSeries> joined;
  const ArchiveError error = archive.load(filter, seriesKeys, *staging_, &joined);
  if (error) {
    ui().message(archiveWindow_, {kAppTitle.text(), archiveErrorText(error, archive.location().display, currentLanguage()),
                                  ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    return false;
  }
  if (!joined.isEmpty()) {
    QStringList lines;
    for (const JoinedSeries& j : joined) lines << joinedSeriesText(j, currentLanguage());
    const int answer = ui().message(archiveWindow_, {kAppTitle.text(), lines.join(u'\n') + u'\n' + kOpenJoined.text(),
                                                     ModalUi::Icon::Warning, ModalUi::Ok | ModalUi::Cancel, ModalUi::Cancel});
    if (answer != ModalUi::Ok) return false;
  }
  if (!settleUnsavedChanges()) return false;
  set_->swap(*staging_);
  set_->setModified(false);  // the archive keeps every impact of it
  setSource_ = QString();
  measurementSource_ = {MeasurementSource::Kind::Archive, archive.location().display, {}};
  RebuildTables();
  if (env_.link) env_.link->setState(lsIdle);  // also ends a running search for the tester
  StatusPanel[0]->setText(kArchiveTitle.text());
  StatusPanel[1]->setText(linktext::kDataReaded.text() + QStringLiteral(" (") + QString::number(set_->count()) + u')');
  ShapeLink->setFillColor(ShapeLink->neutralColor());
  return true;
}

}  // namespace grx
