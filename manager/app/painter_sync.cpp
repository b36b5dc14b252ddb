// The preview painters' synchronisation over the platform's lock, abort event and threads.
#include "manager/app/painter_sync.h"

namespace vyx {

namespace {

class CLocked {
 public:
  explicit CLocked(CPainterPlatform& platform) : m_platform(platform) { m_platform.Lock(); }
  ~CLocked() { m_platform.Unlock(); }
  CLocked(const CLocked&) = delete;
  CLocked& operator=(const CLocked&) = delete;

 private:
  CPainterPlatform& m_platform;
};

}  // namespace

bool CPainterList::Start(const std::function<CPaintPreviewThread()>& create) {
  const CLocked lock(m_platform);
  const CPaintPreviewThread painter = create();
  if (!painter.thread) return false;
  m_painters.push_back(painter);
  return true;
}

int CPainterList::WaitForOlderPainters(int mode, std::uint32_t callerThreadId) {
  for (;;) {
    {
      const CLocked lock(m_platform);
      if (mode >= 0 && static_cast<std::size_t>(mode) >= m_painters.size()) {
        m_platform.ResetAbort();
        return kPaintGoAhead;
      }
      if (mode == 1 && m_painters.back().threadId != callerThreadId) return kPaintStopped;
      m_platform.SetAbort();
      if (m_platform.HasEnded(m_painters.front().thread)) {
        m_platform.CloseThread(m_painters.front().thread);
        m_painters.erase(m_painters.begin());
      }
    }
    m_platform.YieldTimeSlice();
  }
}

void CPainterList::WaitForAll() {
  WaitForOlderPainters(1, 0);
  WaitForOlderPainters(0, 0);
}

std::size_t CPainterList::Count() {
  const CLocked lock(m_platform);
  return m_painters.size();
}

}  // namespace vyx
