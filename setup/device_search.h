// CDeviceSearch: runs FindDevicesInNetwork on a thread of its own while the dialog polls its progress counter.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "setup/discovery_search.h"

namespace vyx {

class CDeviceSearch {
 public:
  CDeviceSearch() = default;
  CDeviceSearch(const CDeviceSearch&) = delete;
  CDeviceSearch& operator=(const CDeviceSearch&) = delete;
  ~CDeviceSearch() { Stop(); }

  // Starts the search; the calls and the sink must outlive it. A search already running is stopped first.
  void Start(CSocketCalls& calls, CMessageSink& sink, const CDiscoveryOptions& options);
  bool Started() const { return m_thread.joinable(); }
  // 0 while the search runs, -1 once it has finished (and its devices can be taken).
  int Progress() const { return m_progress.load(std::memory_order_acquire); }
  bool Finished() const { return Progress() == -1; }
  // Asks the search to end at its next look at the clock; what was found so far is kept.
  void RequestStop() { m_stop.store(true, std::memory_order_relaxed); }
  // Asks it to end and waits for the thread.
  void Stop();
  // FindDevicesInNetwork's result and devices; valid once Finished().
  int Result() const;
  std::vector<DEVICE_DATA> TakeDevices();

 private:
  std::thread m_thread;
  std::atomic<int> m_progress{0};
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  int m_result = 0;
  std::vector<DEVICE_DATA> m_devices;
};

}  // namespace vyx
