#include "ArchiveImporter.h"

#include "data/MeasurementSet.h"

#include <cstring>

#include <atomic>

namespace grx {

ArchiveImporter::ArchiveImporter(QObject* parent) : QObject(parent) {
  worker_ = new QObject;
  worker_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  thread_.setObjectName(QStringLiteral("grx1-archive"));
  thread_.start();
}

ArchiveImporter::~ArchiveImporter() {
  thread_.requestInterruption();
  thread_.quit();
  thread_.wait();
}

void ArchiveImporter::start(const QString& connection, const MeasurementSet& set, const QString& source, bool command) {
  auto copy = std::make_shared<MeasurementSet>();
  std::memcpy(copy->directory(), set.directory(), kDirectorySize);
  std::memcpy(copy->recordStore(), set.recordStore(), std::size_t(set.count()) * kRecordSize);
  copy->setCount(set.count());
  copy->buildSeries();
  ++pending_;
  QThread* thread = &thread_;
  QMetaObject::invokeMethod(worker_, [this, thread, connection, copy, source, command] {
    if (thread->isInterruptionRequested()) return;  // the program is ending
    ImportReport report;
    report.connection = connection;
    report.command = command;
    if (std::unique_ptr<Archive> archive = Archive::open(connection, report.error))
      report.error = archive->import(*copy, source, report.outcome);
    // The importer outlives this call: its destructor waits for the thread.
    QMetaObject::invokeMethod(this, [this, report] {
      --pending_;
      emit finished(report);
    }, Qt::QueuedConnection);
  }, Qt::QueuedConnection);
}

}  // namespace grx
