#pragma once
// The main window as the device worker sees it: status panels, progress bar, link indicator,
// chart visibility and the hand-over of a completed read. Every call arrives on the user-interface
// thread through the worker thread's synchronised call.
#include "device/LinkView.h"

namespace grx {

class TForm1;

class MainLinkView final : public ILinkView {
 public:
  // The window may be attached after the link was created (the link is created first, so the
  // window can be given its shared state).
  void attach(TForm1* form) { form_ = form; }

  void setStatusText(int panel, const QString& text) override;
  void setProgressVisible(bool visible) override;
  void setProgressPosition(int position) override;
  void setLinkIndicator(LinkIndicator colour) override;
  void setChartVisible(bool visible) override;
  void takeOverMeasurements(MeasurementSet& staging) override;

 private:
  TForm1* form_ = nullptr;
};

}  // namespace grx
