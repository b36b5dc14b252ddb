// Pieces the UI driver's files share: bounded sends, memory in the other process and calls into the agent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vyx::testing::detail {

std::wstring ClassOf(HWND window);
std::wstring WindowText(HWND window);
// Text without '&', for comparing labels the way a user reads them.
std::wstring PlainLabel(const std::wstring& text);
bool SameLabel(const std::wstring& a, const std::wstring& b);
// Visible and enabled, in a window that takes input (no modal window of its own open).
bool Usable(HWND control);

// SendMessage that gives up after `timeoutMs`; `*ok` says whether it was answered.
LRESULT SendBounded(HWND window,
                    UINT message,
                    WPARAM wParam,
                    LPARAM lParam,
                    bool* ok = nullptr,
                    DWORD timeoutMs = 5000);
// Input posted through the program's message queue, as real input travels: `messages` go to `window`, then a
// marker for its thread. Returns once the program's message loop took the marker, so it handled everything before
// it (or opened a modal loop that took it), or once the window is gone; false after `timeoutMs`.
struct CPosted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
bool PostSettled(HWND window, const std::vector<CPosted>& messages, DWORD timeoutMs = 5000);
// Key down and up with the key's scan code, as the keyboard sends them.
std::vector<CPosted> KeyStroke(UINT virtualKey);

// The process that owns `window`, opened for memory, threads and module queries; nullptr on failure.
HANDLE OpenProcessOf(HWND window);

// Memory in the process that owns a window, for messages whose arguments point to data.
class CRemoteBuffer {
 public:
  CRemoteBuffer(HWND window, SIZE_T size);
  ~CRemoteBuffer();
  CRemoteBuffer(const CRemoteBuffer&) = delete;
  CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

  bool Ok() const { return address_ != nullptr; }
  HANDLE Process() const { return process_; }
  // The address in the other process of the byte at `offset`.
  LPARAM At(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
  bool Write(SIZE_T offset, const void* data, SIZE_T size);
  bool Read(SIZE_T offset, void* data, SIZE_T size) const;
  // Leaves the memory allocated: a message that timed out may still use it later.
  void Abandon() { abandoned_ = true; }
  template <typename T>
  bool Write(const T& value) {
    return Write(0, &value, sizeof value);
  }
  template <typename T>
  bool Read(T* value) const {
    return Read(0, value, sizeof *value);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  SIZE_T size_ = 0;
  bool abandoned_ = false;
};

// A process by its id and start time, since ids are reused.
struct CProcessIdentity {
  DWORD id = 0;
  ULONGLONG started = 0;
  bool operator==(const CProcessIdentity&) const = default;
};
CProcessIdentity IdentityOf(HANDLE process);

// The address in `process` of what the agent exports as `name`, loading the agent there first if need be.
LPARAM AgentExport(HANDLE process, const char* name, DWORD timeoutMs = 5000);
// Runs the agent's exported `function` on a new thread of `process` with `argument`; returns the function's
// result, or 0 on failure or timeout. `*ended` says whether it ended in time (if not, what it uses must stay).
DWORD CallAgent(HANDLE process, const char* function, LPARAM argument, DWORD timeoutMs = 5000, bool* ended = nullptr);

}  // namespace vyx::testing::detail
