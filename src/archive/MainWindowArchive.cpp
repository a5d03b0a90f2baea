#include "MainWindowArchive.h"

#include "ArchiveImporter.h"
#include "ArchiveSettings.h"
#include "ArchiveTexts.h"
#include "TfrmArchive.h"
#include "geo/MapView.h"
#include "platform/LocalFiles.h"
#include "platform/Messages.h"
#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>

namespace grx {
namespace {

constexpr TextPair kStartNewArchive{"%1.\nНачать новый архив?", "%1.\nStart a new archive?"};
constexpr TextPair kPutDamagedAside{"%1.\nНачать новый архив? Испорченный файл будет переименован в \"%2\" и сохранён.",
                                    "%1.\nStart a new archive? The damaged file is renamed to \"%2\" and kept."};
constexpr TextPair kOpenJoined{"Всё равно открыть?", "Open anyway?"};

}  // namespace

TfrmArchive* MainWindowArchive::window() const { return window_; }

MainWindowArchive::MainWindowArchive(Environment environment, QObject* parent)
    : QObject(parent), env_(std::move(environment)) {
  importer_ = new ArchiveImporter(this);
  connect(importer_, &ArchiveImporter::finished, this, &MainWindowArchive::importFinished);
  // A search within the map's view follows the user's zoom and pan.
  connect(env_.map, &MapView::viewChanged, this, [this] {
    if (window_ && window_->checkMapArea->isChecked()) window_->FilterChange();
  });
}

bool MainWindowArchive::keepReads() const { return readArchiveSettings(*env_.config, env_.dataFolder).keepReads; }
void MainWindowArchive::setKeepReads(bool keep) const { writeKeepReads(*env_.config, keep); }
int MainWindowArchive::importsPending() const { return importer_->pending(); }

void MainWindowArchive::add(bool command) {
  if (env_.set->isEmpty()) return env_.noData();
  importer_->start(readArchiveSettings(*env_.config, env_.dataFolder).connection, *env_.set, env_.setSource(), command);
  revisions_.push_back(env_.set->revision());
  env_.status->setText(kArchiveImporting.text());
}

void MainWindowArchive::importFinished(const ImportReport& report) {
  const std::uint64_t revision = revisions_.empty() ? 0 : revisions_.front();
  if (!revisions_.empty()) revisions_.pop_front();
  // What the archive holds is kept: unchanged since, the set needs no save to be safe.
  if (!report.error && revision == env_.set->revision()) env_.set->setModified(false);
  if (report.error) {
    env_.status->setText(kArchiveTitle.text() + QStringLiteral(": -"));
    showFailure(archiveErrorText(report.error, report.connection, currentLanguage()), report.command);
    return;
  }
  env_.status->setText(importOutcomeText(report.outcome, currentLanguage()));
  if (window_) window_->refresh();
}

void MainWindowArchive::showFailure(const QString& text, bool command) {
  // A read goes on without the archive: the failure of the automatic keep is said once a run.
  if (!command && failureShown_) return;
  if (!command) failureShown_ = true;
  env_.ui->message(env_.window, {kAppTitle.text(), text + u'\n' + kWithoutArchive.text(), ModalUi::Icon::Warning, ModalUi::Ok,
                                 ModalUi::Ok});
}

void MainWindowArchive::applyCaptions() {
  if (window_) window_->setCaptions();
}

void MainWindowArchive::showWindow() {
  if (window_) return bringToFront(*window_);
  const QString connection = readArchiveSettings(*env_.config, env_.dataFolder).connection;
  ArchiveError error;
  // Looking needs no writing: a read-only archive opens too, a missing one is not made here.
  std::unique_ptr<Archive> archive = Archive::open(connection, error, ArchiveAccess::Read);
  if (!archive && mayStartNew(connection, error)) archive = Archive::open(connection, error, ArchiveAccess::Write);
  if (!archive) {
    if (error) showFailure(archiveErrorText(error, connection, currentLanguage()), true);
    return;
  }
  TfrmArchive::Environment env{std::move(archive), env_.ui,
                               [this](const ArchiveFilter& f, const QList<qint64>& keys) { return openSelection(f, keys); },
                               [this]() -> std::optional<ArchiveFilter::Area> {
                                 const std::optional<GeoArea> a = env_.map->visibleArea();
                                 if (!a) return std::nullopt;
                                 return ArchiveFilter::Area{a->south, a->north, a->west, a->east};
                               }};
  window_ = new TfrmArchive(std::move(env), env_.window);
  window_->FormCreate();
  window_->show();
}

bool MainWindowArchive::mayStartNew(const QString& connection, ArchiveError& error) {
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
  const int answer = env_.ui->message(env_.window, {kAppTitle.text(), question, ModalUi::Icon::Question,
                                                    ModalUi::Yes | ModalUi::No, ModalUi::No});
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

bool MainWindowArchive::openSelection(const ArchiveFilter& filter, const QList<qint64>& seriesKeys) {
  if (!window_) return false;
  Archive& archive = window_->archive();
  // Loaded beside the shown set and swapped in only when whole, as an open of a file.
  QList<JoinedSeries> joined;
  const ArchiveError error = archive.load(filter, seriesKeys, *env_.staging, &joined);
  if (error) {
    env_.ui->message(window_, {kAppTitle.text(), archiveErrorText(error, archive.location().display, currentLanguage()),
                               ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    return false;
  }
  if (!joined.isEmpty()) {
    QStringList lines;
    for (const JoinedSeries& j : joined) lines << joinedSeriesText(j, currentLanguage());
    const int answer = env_.ui->message(window_, {kAppTitle.text(), lines.join(u'\n') + u'\n' + kOpenJoined.text(),
                                                  ModalUi::Icon::Warning, ModalUi::Ok | ModalUi::Cancel, ModalUi::Cancel});
    if (answer != ModalUi::Ok) return false;
  }
  if (!env_.takeOver(archive.location().display)) return false;
  env_.status->setText(kArchiveTitle.text());
  return true;
}

}  // namespace grx
