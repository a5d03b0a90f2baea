#include "LinkRequests.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace grx {
namespace {

std::uint8_t readCode(NameList list) { return list == NameList::Materials ? lsReadMaterials : lsReadObjects; }
std::uint8_t writeCode(NameList list) { return list == NameList::Materials ? lsWriteMaterials : lsWriteObjects; }

// Polls until the worker has set lsIdle or the polls are used up; withdraws the code if it is
// still posted. True when lsIdle came within the wait.
bool waitForIdle(LinkShared& link, std::uint8_t code, int polls, int pollMs, UiWaiter& waiter,
                 const std::function<bool()>& giveUp) {
  for (int i = 0; i < polls && link.state() != lsIdle && !(giveUp && giveUp()); ++i) waiter.waitMs(pollMs);
  if (link.state() == lsIdle) return true;
  link.replaceState(code, lsIdle);
  return false;
}

}  // namespace

void EventLoopWaiter::waitMs(int ms) {
  QElapsedTimer timer;
  timer.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  } while (timer.elapsed() < ms);
}

bool AGaugeRead(LinkShared& link) {
  if (link.state() != lsIdle) return false;
  link.setDataReceived(false);
  link.setState(lsConnect);
  return true;
}

RequestResult readNamesFromTester(LinkShared& link, NameList list, UiWaiter& waiter, NameBlock& names,
                                  const std::function<bool()>& giveUp) {
  if (link.state() != lsIdle) return RequestResult::NotPosted;
  link.setState(readCode(list));
  const bool done = waitForIdle(link, readCode(list), 20, 100, waiter, giveUp);
  names = link.names(list);
  return done ? RequestResult::Done : RequestResult::TimedOut;
}

RequestResult writeNamesToTester(LinkShared& link, NameList list, const NameBlock& names, UiWaiter& waiter,
                                 const std::function<bool()>& giveUp) {
  if (link.state() != lsIdle) return RequestResult::NotPosted;
  link.setNames(list, names);  // before the code: the store of the code publishes the block
  link.setState(writeCode(list));
  return waitForIdle(link, writeCode(list), 50, 100, waiter, giveUp) ? RequestResult::Done : RequestResult::TimedOut;
}

bool postScreenRequest(LinkShared& link) {
  if (link.state() != lsIdle) return false;
  link.setScreenImage(ScreenImage{});  // before the code: its store publishes the empty image
  return link.replaceState(lsIdle, lsReadScreen);
}

bool waitForScreen(LinkShared& link, UiWaiter& waiter, const std::function<bool()>& giveUp) {
  while (link.state() == lsReadScreen) {
    if (giveUp && giveUp()) return false;
    waiter.waitMs(10);
  }
  return true;
}

bool requestScreen(LinkShared& link, UiWaiter& waiter, const std::function<bool()>& giveUp) {
  while (!postScreenRequest(link)) {
    if (giveUp && giveUp()) return false;
    waiter.waitMs(10);
  }
  return waitForScreen(link, waiter, giveUp);
}

bool withdrawScreenRequest(LinkShared& link, UiWaiter& waiter) {
  for (int i = 0; i < 99 && link.state() == lsReadScreen; ++i) waiter.waitMs(10);
  return link.replaceState(lsReadScreen, lsIdle);
}

}  // namespace grx
