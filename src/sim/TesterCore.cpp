#include "TesterCore.h"

#include <algorithm>
#include <cstring>

namespace grx::sim {
namespace {

void putU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
std::uint32_t getU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

// Counts one use of a fault that is limited to `times` uses (-1: unlimited).
bool takeFault(int& times) {
  if (times == 0) return false;
  if (times > 0) --times;
  return true;
}

}  // namespace

TesterCore::TesterCore() : directory_(kDirectoryBytes, 0) {
  drawSampleScreen(screen_);
  output_.reserve(1 << 16);
}

void TesterCore::setMeasurements(const std::uint8_t* directory, int directorySize, const std::uint8_t* records,
                                 std::uint32_t count) {
  std::fill(directory_.begin(), directory_.end(), 0);
  std::memcpy(directory_.data(), directory, std::size_t(std::clamp(directorySize, 0, kDirectoryBytes)));
  records_.assign(records, records + std::size_t(count) * kRecordBytes);
  count_ = count;
}

std::vector<std::uint8_t> TesterCore::versionBody() const {
  std::vector<std::uint8_t> body(version_.begin(), version_.end());
  if (faults_.versionLength < 0) return body;
  // An overlong text: the version, then letters with a zero every tenth byte.
  body.resize(std::size_t(faults_.versionLength));
  for (std::size_t i = version_.size(); i < body.size(); ++i) body[i] = i % 10 == 0 ? 0 : std::uint8_t('a' + i % 26);
  return body;
}

void TesterCore::answer(const std::uint8_t* body, std::size_t n) {
  if (outputPos_ == output_.size()) {
    output_.clear();
    outputPos_ = 0;
  }
  std::uint8_t length[4];
  putU32(length, std::uint32_t(n));
  output_.insert(output_.end(), length, length + 4);
  output_.insert(output_.end(), body, body + n);
}

std::size_t TesterCore::takeOutput(std::uint8_t* buffer, std::size_t max) {
  const std::size_t n = std::min(max, pendingOutput());
  std::memcpy(buffer, output_.data() + outputPos_, n);
  outputPos_ += n;
  return n;
}

void TesterCore::resetSession() {
  input_.clear();
  output_.clear();
  outputPos_ = 0;
}

TesterCore::Event TesterCore::receive(const std::uint8_t* bytes, std::size_t n) {
  received_.insert(received_.end(), bytes, bytes + n);
  input_.insert(input_.end(), bytes, bytes + n);
  Event event = Event::None;
  while (parseOne(event)) {
    if (event == Event::Drop) {
      resetSession();
      return event;
    }
  }
  return Event::None;
}

std::size_t TesterCore::requestAnswerLength(std::size_t whole) const {
  return faults_.requestLength < 0 ? whole : std::min(whole, std::size_t(faults_.requestLength));
}

bool TesterCore::parseOne(Event& event) {
  if (input_.size() < 2) return false;
  const std::uint8_t code = input_[0];
  if (input_[1] != std::uint8_t(~code)) {  // not a command word: skip a byte and look again
    input_.erase(input_.begin());
    return true;
  }
  std::size_t used = 2;
  switch (code) {
    case 0x01: {
      const std::vector<std::uint8_t> body = versionBody();
      answer(body.data(), body.size());
      break;
    }
    case 0x02:
      if (faults_.emptyDirectory) {
        const std::vector<std::uint8_t> empty(kDirectoryBytes, 0);
        answer(empty.data(), empty.size());
      } else {
        const int n = faults_.directoryLength < 0 ? kDirectoryBytes : std::min(faults_.directoryLength, kDirectoryBytes);
        answer(directory_.data(), std::size_t(n));
      }
      break;
    case 0x03: {
      if (input_.size() < 4) return false;
      used = 4;
      const std::uint32_t index = input_[2] | (std::uint32_t(input_[3]) << 8);
      ++recordRequests_;
      if (int(index) == faults_.dropAtRecord && takeFault(faults_.dropTimes)) {
        event = Event::Drop;
        break;
      }
      if (int(index) == faults_.silenceAtRecord && takeFault(faults_.silenceTimes)) break;
      if (index < count_) {
        answer(record(index), kRecordBytes);
      } else {
        const std::vector<std::uint8_t> zero(kRecordBytes, 0);
        answer(zero.data(), zero.size());
      }
      break;
    }
    case 0x05: answer(materials_.data(), requestAnswerLength(materials_.size())); break;
    case 0x07: answer(objects_.data(), requestAnswerLength(objects_.size())); break;
    case 0x06:
    case 0x08: {
      if (input_.size() < 6) return false;
      const std::uint32_t length = getU32(input_.data() + 2);
      const std::size_t body = std::min<std::uint32_t>(length, kNameBlockBytes);
      if (input_.size() < 6 + body) return false;
      used = 6 + body;
      std::memcpy(code == 0x06 ? materials_.data() : objects_.data(), input_.data() + 6, body);
      ++nameWrites_;
      break;
    }
    case 0x09: answer(screen_.data(), requestAnswerLength(screen_.size())); break;
    default: break;  // unknown command word: ignored
  }
  input_.erase(input_.begin(), input_.begin() + std::ptrdiff_t(used));
  return true;
}

void drawSampleScreen(std::array<std::uint8_t, kScreenBytes>& screen) {
  // 8 bands of 128 columns; each byte is a vertical strip of 8 pixels, least significant bit on top.
  screen.fill(0);
  auto set = [&](int x, int y) { screen[std::size_t((y / 8) * 128 + x)] |= std::uint8_t(1u << (y % 8)); };
  for (int x = 0; x < 128; ++x) set(x, 0), set(x, 63);
  for (int y = 0; y < 64; ++y) set(0, y), set(127, y);
  for (int x = 0; x < 128; ++x) set(x, x / 2), set(x, 63 - x / 2);
  for (int y = 4; y < 20; ++y)
    for (int x = 4; x < 20; ++x)
      if ((x / 4 + y / 4) % 2 == 0) set(x, y);
}

}  // namespace grx::sim
