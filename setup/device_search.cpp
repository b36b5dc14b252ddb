// The search thread: the results are handed over under a lock, the end through the progress counter.
#include "setup/device_search.h"

namespace vyx {

void CDeviceSearch::Start(CSocketCalls& calls, CMessageSink& sink, const CDiscoveryOptions& options) {
  Stop();
  m_stop.store(false);
  m_progress.store(0);
  m_thread = std::thread([this, &calls, &sink, options] {
    std::vector<DEVICE_DATA> devices;
    const int result = FindDevicesInNetwork(calls, sink, options, devices, &m_stop);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_result = result;
      m_devices = std::move(devices);
    }
    m_progress.store(-1, std::memory_order_release);
  });
}

void CDeviceSearch::Stop() {
  RequestStop();
  if (m_thread.joinable()) m_thread.join();
}

int CDeviceSearch::Result() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_result;
}

std::vector<DEVICE_DATA> CDeviceSearch::TakeDevices() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::move(m_devices);
}

}  // namespace vyx
