// Crashes on purpose: the Wine harness must report this program as failed, never as passed.
#include <cstdio>

int main() {
  volatile int* nowhere = nullptr;
  std::puts("about to crash");
  std::fflush(stdout);
  *nowhere = 42;
  return 0;
}
