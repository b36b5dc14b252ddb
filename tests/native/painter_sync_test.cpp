// The preview painters' synchronisation with real threads: of painters started back to back only the newest
// paints, the older ones stop or give up, and closing waits for every painter.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "manager/app/painter_sync.h"

namespace vyx {
namespace {

using namespace std::chrono_literals;

// Threads, a mutex and an atomic flag as the platform.
class CThreadPlatform : public CPainterPlatform {
 public:
  struct CThread {
    std::thread thread;
    std::atomic<bool> ended{false};
  };
  void Lock() override { m_lock.lock(); }
  void Unlock() override { m_lock.unlock(); }
  void SetAbort() override { abort = true; }
  void ResetAbort() override { abort = false; }
  bool HasEnded(void* thread) override { return static_cast<CThread*>(thread)->ended; }
  void CloseThread(void* thread) override {
    auto* t = static_cast<CThread*>(thread);
    t->thread.join();
    delete t;
    ++closed;
  }
  void YieldTimeSlice() override { std::this_thread::yield(); }

  std::atomic<bool> abort{false};
  std::atomic<int> closed{0};

 private:
  std::mutex m_lock;
};

// What each painter did: gave up before painting, began, was stopped while painting, or painted to the end.
struct CPainterLog {
  std::atomic<bool> began{false}, finished{false}, ended{false};
  std::atomic<int> result{0};
};

struct PainterSync : ::testing::Test {
  CThreadPlatform platform;
  CPainterList list{platform};
  std::atomic<bool> release{false};
  std::vector<std::unique_ptr<CPainterLog>> logs;

  // A painter whose painting lasts until the abort event is set or the test releases it (at most 5 s, so that a
  // fault cannot hang the test).
  void StartPainter() {
    logs.push_back(std::make_unique<CPainterLog>());
    CPainterLog* log = logs.back().get();
    const auto id = static_cast<std::uint32_t>(logs.size());
    ASSERT_TRUE(list.Start([&, log, id] {
      auto* t = new CThreadPlatform::CThread;
      t->thread = std::thread([this, log, id, t] {
        int result = list.WaitForOlderPainters(1, id);
        if (result == kPaintGoAhead) {
          log->began = true;
          const auto deadline = std::chrono::steady_clock::now() + 5s;
          while (!platform.abort && !release && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
          result = platform.abort ? kPaintStopped : kPaintGoAhead;
          log->finished = result == kPaintGoAhead;
        }
        log->result = result;
        log->ended = true;
        t->ended = true;
      });
      return CPaintPreviewThread{t, id};
    }));
  }
  bool WaitFor(const std::atomic<bool>& flag) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!flag && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    return flag;
  }
  void TearDown() override {
    release = true;
    list.WaitForAll();
  }
};

TEST_F(PainterSync, OfPaintersStartedBackToBackOnlyTheNewestPaints) {
  for (int i = 0; i < 5; ++i) StartPainter();
  // The newest begins only once every older painter has ended and has been removed.
  ASSERT_TRUE(WaitFor(logs[4]->began));
  EXPECT_EQ(1u, list.Count());
  EXPECT_FALSE(platform.abort);
  release = true;
  ASSERT_TRUE(WaitFor(logs[4]->ended));
  list.WaitForAll();
  EXPECT_EQ(0u, list.Count());
  EXPECT_EQ(5, platform.closed);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(logs[i]->finished) << i;
    EXPECT_EQ(kPaintStopped, logs[i]->result) << i;
  }
  EXPECT_TRUE(logs[4]->finished);
  EXPECT_EQ(kPaintGoAhead, logs[4]->result);
}

TEST_F(PainterSync, ClosingStopsAndWaitsForEveryPainter) {
  StartPainter();
  ASSERT_TRUE(WaitFor(logs[0]->began));
  StartPainter();
  StartPainter();
  list.WaitForAll();
  EXPECT_EQ(0u, list.Count());
  EXPECT_EQ(3, platform.closed);  // every thread joined
  for (const auto& log : logs) EXPECT_FALSE(log->finished);
  EXPECT_EQ(kPaintStopped, logs[0]->result);  // stopped while painting
}

TEST_F(PainterSync, ASingleCallerOrAnEmptyListGoesAheadAndClearsTheAbortEvent) {
  platform.abort = true;
  EXPECT_EQ(kPaintGoAhead, list.WaitForOlderPainters(0, 0));
  EXPECT_FALSE(platform.abort);
  EXPECT_FALSE(list.Start([] { return CPaintPreviewThread{}; }));  // no thread: nothing kept
  EXPECT_EQ(0u, list.Count());
}

}  // namespace
}  // namespace vyx
