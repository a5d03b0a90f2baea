#include "AnswerClock.h"

#include "device/DeviceLink.h"

#include <cmath>

namespace grx {

bool parseCommandSeconds(const QString& text, double* seconds) {
  bool ok = false;
  const double v = text.toDouble(&ok);
  if (!ok || !std::isfinite(v) || v < 0.1 || v > 86400) return false;
  *seconds = v;
  return true;
}

bool AnswerClock::expired(DeviceLink& link) {
  const std::uint8_t state = link.shared().state();
  // The worker's fixed start wait is the link's own; the clock starts with its first search.
  if (!sinceAnswer_.isValid() && state != lsStartup) sinceAnswer_.start();
  if (state != lsStartup && state != lsConnect) opened_ = true;
  const std::uint32_t now = link.worker().freshAnswers();
  if (now != answers_) {
    answers_ = now;
    sinceAnswer_.restart();
  }
  return sinceAnswer_.isValid() && sinceAnswer_.elapsed() > timeoutMs_;
}

}  // namespace grx
