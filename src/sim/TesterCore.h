#pragma once
// The tester's side of the command protocol, independent of any transport: bytes from the host go
// in, framed answers come out. It serves a record directory and impact records, the version text,
// the two name blocks (kept in memory) and a screen image, and can misbehave on purpose. The pipe
// server (grx1-tester-sim) and the libusb test double both run on it. No Qt, so the test double is
// a small library of its own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace grx::sim {

inline constexpr int kRecordBytes = 2196;
inline constexpr int kDirectoryBytes = 14228;
inline constexpr int kNameBlockBytes = 260;
inline constexpr int kScreenBytes = 1024;

struct TesterFaults {
  int versionLength = -1;    // announce and send a version body of this length (-1: the text itself)
  int silenceAtRecord = -1;  // do not answer the request for this record ...
  int silenceTimes = 1;      // ... this many times (-1: always)
  int dropAtRecord = -1;     // end the session (drop the link) at the request for this record ...
  int dropTimes = 1;         // ... this many times (-1: always)
  bool emptyDirectory = false;  // every directory entry unused
  int directoryLength = -1;     // answer only this many directory bytes (-1: all 14228)
  int slowMs = 0;               // the transport server waits this long before each answer
  int requestLength = -1;       // answer name and screen requests with only this many bytes (-1: whole)
};

class TesterCore {
 public:
  enum class Event { None, Drop };

  TesterCore();

  void setVersion(const std::string& text) { version_ = text; }
  // The directory (up to 14228 bytes; the rest reads as unused) and `count` records.
  void setMeasurements(const std::uint8_t* directory, int directorySize, const std::uint8_t* records,
                       std::uint32_t count);
  std::uint32_t recordCount() const { return count_; }
  const std::uint8_t* record(std::uint32_t i) const { return records_.data() + std::size_t(i) * kRecordBytes; }

  std::array<std::uint8_t, kNameBlockBytes>& materialNames() { return materials_; }
  std::array<std::uint8_t, kNameBlockBytes>& objectNames() { return objects_; }
  std::array<std::uint8_t, kScreenBytes>& screen() { return screen_; }
  TesterFaults& faults() { return faults_; }

  // The body the version command answers with (after the 4-byte length).
  std::vector<std::uint8_t> versionBody() const;

  // Bytes from the host; complete commands are answered into the output queue.
  Event receive(const std::uint8_t* bytes, std::size_t n);
  std::size_t pendingOutput() const { return output_.size() - outputPos_; }
  // Takes up to `max` bytes of the answers in order.
  std::size_t takeOutput(std::uint8_t* buffer, std::size_t max);
  // A new session: half-received commands and unread answers are forgotten.
  void resetSession();

  // What the host sent, for tests: every byte, and the number of name blocks stored.
  const std::vector<std::uint8_t>& received() const { return received_; }
  void clearReceived() { received_.clear(); }
  int nameWrites() const { return nameWrites_; }
  int recordRequests() const { return recordRequests_; }

 private:
  void answer(const std::uint8_t* body, std::size_t n);
  // Parses one command from the front of the input; false when more bytes are needed.
  bool parseOne(Event& event);
  std::size_t requestAnswerLength(std::size_t whole) const;

  std::string version_ = "GRX-1 simulator 1.0";
  std::vector<std::uint8_t> directory_;
  std::vector<std::uint8_t> records_;
  std::uint32_t count_ = 0;
  std::array<std::uint8_t, kNameBlockBytes> materials_{};
  std::array<std::uint8_t, kNameBlockBytes> objects_{};
  std::array<std::uint8_t, kScreenBytes> screen_{};
  TesterFaults faults_;

  std::vector<std::uint8_t> input_;
  std::vector<std::uint8_t> output_;
  std::size_t outputPos_ = 0;
  std::vector<std::uint8_t> received_;
  int nameWrites_ = 0;
  int recordRequests_ = 0;
};

// A recognisable screen: a frame, the diagonals and a checker corner.
void drawSampleScreen(std::array<std::uint8_t, kScreenBytes>& screen);

}  // namespace grx::sim
