#pragma once
// The time-out of every grx1-cli command that talks to the tester: the tester must give a fresh
// answer (DeviceWorker::freshAnswers: the version, the directory, a record not received before, a
// whole name block or screen image) within the time-out, counted from the worker's first search.
// A link that keeps failing and reconnecting changes state all the time without answering; that is
// no sign of life, so a tester that died with its device nodes left behind ends the command.
#include <QElapsedTimer>
#include <QString>

#include <cstdint>

namespace grx {

class DeviceLink;

// A number of seconds for --timeout and --max-time: finite, 0.1 to 86400 ("inf", "nan" are not).
bool parseCommandSeconds(const QString& text, double* seconds);
inline constexpr const char* kSecondsRange = "a number of seconds from 0.1 to 86400";

class AnswerClock {
 public:
  explicit AnswerClock(double timeoutSeconds) : timeoutMs_(qint64(timeoutSeconds * 1000)) {}
  // Looks at the link; true once the time-out has run out without a fresh answer.
  bool expired(DeviceLink& link);
  std::uint32_t answers() const { return answers_; }
  // Whether the tester was found and opened at least once.
  bool opened() const { return opened_; }

 private:
  QElapsedTimer sinceAnswer_;
  qint64 timeoutMs_;
  std::uint32_t answers_ = 0;
  bool opened_ = false;
};

}  // namespace grx
