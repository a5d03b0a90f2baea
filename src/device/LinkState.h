#pragma once
// The state shared by the user-interface thread and the device worker: the link state byte with
// its request codes, the transport in use, the "a read has completed" flag, and the fixed buffers
// a request names. There are no locks: a requester fills its buffer before it stores a request
// code (release) and the worker reads the code with acquire, so it sees the buffer; the worker
// finishes with a buffer before it stores the next state.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace grx {

// Values of LinkState. The numbers are fixed: requesters compare and store them.
inline constexpr std::uint8_t lsConnect = 0;
inline constexpr std::uint8_t lsReadVersion = 1;
inline constexpr std::uint8_t lsReadDirectory = 2;
inline constexpr std::uint8_t lsReadRecords = 3;
inline constexpr std::uint8_t lsReadMaterials = 5;
inline constexpr std::uint8_t lsWriteMaterials = 6;
inline constexpr std::uint8_t lsReadObjects = 7;
inline constexpr std::uint8_t lsWriteObjects = 8;
inline constexpr std::uint8_t lsReadScreen = 9;
inline constexpr std::uint8_t lsDecode = 12;
inline constexpr std::uint8_t lsPause = 13;  // waits 200 ms per cycle; nobody posts it
inline constexpr std::uint8_t lsIdle = 14;
inline constexpr std::uint8_t lsStartup = 255;

// Values of LinkKind.
inline constexpr std::uint8_t lkPipe = 1;          // bulk-pipe driver
inline constexpr std::uint8_t lkLibUsb = 2;        // libusb
inline constexpr std::uint8_t lkNoLibUsb = 3;      // libusb library not available

inline constexpr int kNameSlotSize = 20;
inline constexpr int kNameSlots = 13;
inline constexpr int kNameBlockSize = kNameSlots * kNameSlotSize;  // 260
inline constexpr int kScreenImageSize = 1024;
inline constexpr int kVersionLimit = 99;

using NameBlock = std::array<std::uint8_t, kNameBlockSize>;
using ScreenImage = std::array<std::uint8_t, kScreenImageSize>;

enum class NameList : std::uint8_t { Materials, Objects };

// One instance for the whole run, owned by the program (the main window or the command-line read).
struct LinkShared {
  std::atomic<std::uint8_t> LinkState{lsStartup};
  std::atomic<std::uint8_t> LinkKind{lkNoLibUsb};
  std::atomic<bool> DataReceived{false};

  // The name blocks and the screen image. A requester that gives up may read a block while a late
  // worker still finishes its exchange, so the worker moves bytes over the link in buffers of its
  // own and copies them in or out here under a short lock. The screen image lives here rather than
  // in the window that asked for it, so a window that withdraws and closes is never written to.
  NameBlock names(NameList which) const {
    std::lock_guard<std::mutex> guard(blockMutex_);
    return which == NameList::Materials ? materialNames_ : objectNames_;
  }
  void setNames(NameList which, const NameBlock& block) {
    std::lock_guard<std::mutex> guard(blockMutex_);
    (which == NameList::Materials ? materialNames_ : objectNames_) = block;
  }
  ScreenImage screenImage() const {
    std::lock_guard<std::mutex> guard(blockMutex_);
    return screenImage_;
  }
  void setScreenImage(const ScreenImage& image) {
    std::lock_guard<std::mutex> guard(blockMutex_);
    screenImage_ = image;
  }

  std::uint8_t state() const { return LinkState.load(std::memory_order_acquire); }
  void setState(std::uint8_t s) { LinkState.store(s, std::memory_order_release); }
  // Stores `to` only while the state still holds `from` (a withdrawal must not undo the worker's
  // answer, and the worker must not undo a file opened meanwhile).
  bool replaceState(std::uint8_t from, std::uint8_t to) {
    return LinkState.compare_exchange_strong(from, to, std::memory_order_acq_rel, std::memory_order_acquire);
  }
  std::uint8_t kind() const { return LinkKind.load(std::memory_order_acquire); }
  void setKind(std::uint8_t k) { LinkKind.store(k, std::memory_order_release); }
  bool dataReceived() const { return DataReceived.load(std::memory_order_acquire); }
  void setDataReceived(bool v) { DataReceived.store(v, std::memory_order_release); }

 private:
  mutable std::mutex blockMutex_;
  NameBlock materialNames_{};
  NameBlock objectNames_{};
  ScreenImage screenImage_{};
};

}  // namespace grx
