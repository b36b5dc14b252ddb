// The preview painters' list and their synchronisation: every new painter stops the older ones through the abort
// event and waits until they have ended; only the newest paints. The lock, the event and the threads are the
// platform's, reached through CPainterPlatform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vyx {

// Results of the synchronisation and of a painting: go ahead (or painted to the end), and stopped because a newer
// painter or the window asked.
inline constexpr int kPaintGoAhead = 775;
inline constexpr int kPaintStopped = 777;

// One painter: its thread and the thread's id.
struct CPaintPreviewThread {
  void* thread = nullptr;
  std::uint32_t threadId = 0;
};

class CPainterPlatform {
 public:
  virtual ~CPainterPlatform() = default;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  // The abort event painters test before each object they draw.
  virtual void SetAbort() = 0;
  virtual void ResetAbort() = 0;
  virtual bool HasEnded(void* thread) = 0;
  virtual void CloseThread(void* thread) = 0;
  // Gives the processor to other threads once (sleep 0).
  virtual void YieldTimeSlice() = 0;
};

class CPainterList {
 public:
  explicit CPainterList(CPainterPlatform& platform) : m_platform(platform) {}
  CPainterList(const CPainterList&) = delete;
  CPainterList& operator=(const CPainterList&) = delete;

  // Creates a painter under the lock, so that its synchronisation finds it in the list. `create` starts the
  // thread; a record without a thread (creation failed) is not kept. Returns whether a painter was started.
  bool Start(const std::function<CPaintPreviewThread()>& create);

  // Run by every painter with mode 1 before it paints, and at window closing with mode 1 and then 0: kPaintGoAhead
  // once at most `mode` painters are left (the abort event is reset then), kPaintStopped at once when, with mode 1,
  // a newer painter than `callerThreadId` exists. Meanwhile the abort event is set and ended painters are removed
  // from the oldest on.
  int WaitForOlderPainters(int mode, std::uint32_t callerThreadId);

  // Closing: waits for every painter to end and removes them all.
  void WaitForAll();

  std::size_t Count();

 private:
  CPainterPlatform& m_platform;
  std::vector<CPaintPreviewThread> m_painters;  // oldest first
};

}  // namespace vyx
