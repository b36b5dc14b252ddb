// A stand-in for a port monitor's configuration calls: scripted errors and statuses per XcvData call, and a
// record of every command with its input bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup/port_monitor_calls.h"

namespace vyx::testing {

class CFakeMonitor : public CPortMonitorCalls {
 public:
  struct CCall {
    std::wstring command;
    std::string input;
  };
  bool OpenXcv(const std::wstring& name, XcvHandle* handle) override {
    opened.push_back(name);
    if (open_error != 0) return Fail(open_error);
    *handle = this;
    return true;
  }
  bool SendXcvData(XcvHandle handle,
                   const std::wstring& command,
                   const void* input,
                   std::size_t size,
                   std::uint32_t* status) override {
    EXPECT_EQ(this, handle);
    calls.push_back({command, std::string(static_cast<const char*>(input), size)});
    const std::size_t n = calls.size() - 1;
    *status = n < statuses.size() ? statuses[n] : 0;
    if (n < call_errors.size() && call_errors[n] != 0) return Fail(call_errors[n]);
    return !fails_without_code || Fail(0);
  }
  bool ClosePrinter(XcvHandle) override {
    ++closes;
    return close_error == 0 || Fail(close_error);
  }
  std::uint32_t LastError() override { return m_error; }
  std::wstring SystemMessage(std::uint32_t code) override { return L"error " + std::to_wstring(code); }

  std::uint32_t open_error = 0, close_error = 0;
  bool fails_without_code = false;                   // XcvData fails and leaves the last error at 0
  std::vector<std::uint32_t> call_errors, statuses;  // per XcvData call
  std::vector<std::wstring> opened;
  std::vector<CCall> calls;
  int closes = 0;

 private:
  bool Fail(std::uint32_t error) {
    m_error = error;
    return false;
  }
  std::uint32_t m_error = 0;
};

}  // namespace vyx::testing
