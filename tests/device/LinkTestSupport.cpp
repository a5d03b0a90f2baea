#include "LinkTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstring>

namespace grx::test {

void RecordingView::add(const QString& entry) {
  std::lock_guard<std::mutex> guard(mutex_);
  log_ << entry;
}

void RecordingView::setStatusText(int panel, const QString& text) {
  add(QStringLiteral("panel%1:%2").arg(panel).arg(text));
}

void RecordingView::setProgressVisible(bool visible) {
  add(visible ? QStringLiteral("progress:show") : QStringLiteral("progress:hide"));
}

void RecordingView::setProgressPosition(int position) {
  add(QStringLiteral("position:%1").arg(position));
  {
    std::lock_guard<std::mutex> guard(mutex_);
    positions_.push_back(position);
  }
  if (onProgress) onProgress();
}

void RecordingView::setLinkIndicator(LinkIndicator colour) {
  static const char* const names[] = {"face", "lime", "red", "black"};
  add(QStringLiteral("indicator:") + QString::fromLatin1(names[int(colour)]));
}

void RecordingView::setChartVisible(bool visible) {
  add(visible ? QStringLiteral("chart:show") : QStringLiteral("chart:hide"));
}

void RecordingView::takeOverMeasurements(MeasurementSet& staging) {
  shown.swap(staging);
  takeOverThread = QThread::currentThread();
  ++takeOvers_;
  add(QStringLiteral("takeover:%1").arg(shown.count()));
}

QStringList RecordingView::log() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return log_;
}

void RecordingView::clearLog() {
  std::lock_guard<std::mutex> guard(mutex_);
  log_.clear();
  positions_.clear();
}

QStringList RecordingView::entries(const QString& prefix) const {
  std::lock_guard<std::mutex> guard(mutex_);
  QStringList out;
  for (const QString& e : log_)
    if (e.startsWith(prefix)) out << e;
  return out;
}

std::vector<int> RecordingView::positions() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return positions_;
}

UsbDouble::UsbDouble() : library_(path()) {
  qputenv("GRX1_LIBUSB", path().toLocal8Bit());
  if (!library_.load()) return;
  auto fn = reinterpret_cast<sim::UsbDoubleControlFn>(library_.resolve("grx1_usbdouble_control"));
  if (fn) control_ = fn();
  if (control_) control_->reset();
}

QString UsbDouble::path() { return QStringLiteral(GRX1_USB_DOUBLE_PATH); }
QString UsbDouble::incompletePath() { return QStringLiteral(GRX1_USB_DOUBLE_INCOMPLETE_PATH); }

PipeFolder::PipeFolder() { qputenv("GRX1_PIPE_DIR", dir_.path().toLocal8Bit()); }
PipeFolder::~PipeFolder() { qunsetenv("GRX1_PIPE_DIR"); }

void withoutLibUsb() { qputenv("GRX1_LIBUSB", "/nonexistent/libusb-missing.so"); }

std::vector<std::uint8_t> fullReadCommands(std::uint32_t n) {
  std::vector<std::uint8_t> bytes = {0x01, 0xFE, 0x02, 0xFD};
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint8_t cmd[4] = {0x03, 0xFC, std::uint8_t(i & 0xFF), std::uint8_t(i >> 8)};
    bytes.insert(bytes.end(), cmd, cmd + 4);
  }
  return bytes;
}

::testing::AssertionResult sameMeasurements(const MeasurementSet& a, const MeasurementSet& b) {
  if (a.count() != b.count())
    return ::testing::AssertionFailure() << "counts " << a.count() << " and " << b.count();
  if (std::memcmp(a.recordStore(), b.recordStore(), std::size_t(a.count()) * kRecordSize) != 0)
    return ::testing::AssertionFailure() << "record bytes differ";
  if (a.seriesStarts() != b.seriesStarts()) return ::testing::AssertionFailure() << "series start lists differ";
  return ::testing::AssertionSuccess();
}

}  // namespace grx::test
