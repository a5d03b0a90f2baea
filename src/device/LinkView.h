#pragma once
// What the device worker does to the window, as an interface the main window implements. The
// worker calls it only through the thread component's synchronised call, so every method runs on
// the user-interface thread while the worker waits.
#include <QString>

#include <cstdint>

namespace grx {

class MeasurementSet;

// Fill colour of the link indicator.
enum class LinkIndicator : std::uint8_t {
  ButtonFace,  // last exchange finished (also the colour at start)
  Lime,        // an exchange is running or about to start
  Red,         // link error
  Black,       // tester not found
};

class ILinkView {
 public:
  virtual ~ILinkView() = default;

  // Status panel 0 (version text, libusb messages) or 1 (link status texts).
  virtual void setStatusText(int panel, const QString& text) = 0;
  // The progress bar (range 0..100) placed over the status bar while a measurement read runs.
  virtual void setProgressVisible(bool visible) = 0;
  virtual void setProgressPosition(int position) = 0;
  virtual void setLinkIndicator(LinkIndicator colour) = 0;
  virtual void setChartVisible(bool visible) = 0;
  // A read has completed: exchange `staging` with the shown measurement set (MeasurementSet::swap)
  // and rebuild both tables from it. Afterwards `staging` holds the old set; the worker overwrites
  // it on its next read.
  virtual void takeOverMeasurements(MeasurementSet& staging) = 0;
};

}  // namespace grx
