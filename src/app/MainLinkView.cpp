#include "MainLinkView.h"

#include "LinkLamp.h"
#include "TForm1.h"

#include <QLabel>
#include <QProgressBar>

#include <qcustomplot.h>

namespace grx {

void MainLinkView::setStatusText(int panel, const QString& text) {
  if (form_ && panel >= 0 && panel < 4) form_->StatusPanel[panel]->setText(text);
}

void MainLinkView::setProgressVisible(bool visible) {
  if (form_) form_->ProgressBar1->setVisible(visible);
}

void MainLinkView::setProgressPosition(int position) {
  if (form_) form_->ProgressBar1->setValue(position);
}

void MainLinkView::setLinkIndicator(LinkIndicator colour) {
  if (!form_) return;
  LinkLamp* indicator = form_->ShapeLink;
  switch (colour) {
    case LinkIndicator::ButtonFace: indicator->setFillColor(indicator->neutralColor()); break;
    case LinkIndicator::Lime: indicator->setFillColor(QColor(0, 255, 0)); break;
    case LinkIndicator::Red: indicator->setFillColor(QColor(255, 0, 0)); break;
    case LinkIndicator::Black: indicator->setFillColor(QColor(0, 0, 0)); break;
  }
}

void MainLinkView::setChartVisible(bool visible) {
  if (form_) form_->Chart1->setVisible(visible);
}

void MainLinkView::takeOverMeasurements(MeasurementSet& staging) {
  if (form_) form_->takeOverMeasurements(staging);
}

}  // namespace grx
