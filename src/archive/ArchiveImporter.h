#pragma once
// Imports off the window thread: a thread of its own takes one import after another, each on an
// archive connection opened in that thread, and hands every outcome back to the thread that owns
// the importer through `finished` (as a read hands over its measurements).
#include "Archive.h"

#include <QObject>
#include <QThread>

#include <memory>

namespace grx {

struct ImportReport {
  ArchiveError error;
  ImportOutcome outcome;
  QString connection;  // the archive it went to
  bool command = false;  // asked for by the user, not the automatic keep of a read
};

class ArchiveImporter : public QObject {
  Q_OBJECT
 public:
  explicit ArchiveImporter(QObject* parent = nullptr);
  // Waits for the import under way; the ones still waiting are dropped.
  ~ArchiveImporter() override;

  // Imports a copy of the set (taken here, so the caller may change its set at once).
  void start(const QString& connection, const MeasurementSet& set, const QString& source, bool command);
  int pending() const { return pending_; }

 signals:
  void finished(const grx::ImportReport& report);

 private:
  QThread thread_;
  QObject* worker_ = nullptr;  // lives in thread_
  int pending_ = 0;
};

}  // namespace grx
