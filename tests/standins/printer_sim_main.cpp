// vyx_printer_sim: simulated VYX-Q5 printers on the loopback address, for demos and tests.
//   vyx_printer_sim [--printer IP,MAC[,VALUE]]... [--discovery-port P] [--raw-port Q] [--save FILE]
//                   [--close-after N] [--seconds S]
// Prints "discovery=P raw=Q" once it listens (0 for a service not asked for), then serves until S seconds (60)
// have passed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/standins/printer_sim.h"

namespace {

bool ParsePrinter(const std::string& text, vyx::testing::CSimulatedPrinter& printer) {
  unsigned a[4], m[6];
  unsigned long value = 0;
  const int n = std::sscanf(text.c_str(), "%u.%u.%u.%u,%x:%x:%x:%x:%x:%x,%lu", &a[0], &a[1], &a[2], &a[3], &m[0], &m[1],
                            &m[2], &m[3], &m[4], &m[5], &value);
  if (n < 10) return false;
  printer.address = 0;
  for (unsigned part : a) {
    if (part > 255) return false;
    printer.address = (printer.address << 8) | part;
  }
  for (int i = 0; i < 6; ++i) {
    if (m[i] > 255) return false;
    printer.mac[i] = static_cast<std::uint8_t>(m[i]);
  }
  printer.value = static_cast<std::uint32_t>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<vyx::testing::CSimulatedPrinter> printers;
  long discovery_port = -1, raw_port = -1, seconds = 60;
  long long close_after = -1;
  std::string save;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    if (next == nullptr) {
      std::fprintf(stderr, "vyx_printer_sim: %s needs a value\n", arg.c_str());
      return 2;
    }
    ++i;
    if (arg == "--printer") {
      vyx::testing::CSimulatedPrinter printer = {};
      if (!ParsePrinter(next, printer)) {
        std::fprintf(stderr, "vyx_printer_sim: bad printer '%s' (IP,MAC[,VALUE])\n", next);
        return 2;
      }
      printers.push_back(printer);
    } else if (arg == "--discovery-port") {
      discovery_port = std::strtol(next, nullptr, 10);
    } else if (arg == "--raw-port") {
      raw_port = std::strtol(next, nullptr, 10);
    } else if (arg == "--save") {
      save = next;
    } else if (arg == "--close-after") {
      close_after = std::strtoll(next, nullptr, 10);
    } else if (arg == "--seconds") {
      seconds = std::strtol(next, nullptr, 10);
    } else {
      std::fprintf(stderr, "vyx_printer_sim: unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  vyx::testing::CPrinterSimulator sim;
  if (!printers.empty() || discovery_port >= 0) {
    if (!sim.StartDiscovery(printers, static_cast<std::uint16_t>(discovery_port < 0 ? 0 : discovery_port))) {
      std::fprintf(stderr, "vyx_printer_sim: cannot listen for discovery requests\n");
      return 1;
    }
  }
  if (raw_port >= 0 || !save.empty()) {
    if (!sim.StartRawPort(static_cast<std::uint16_t>(raw_port < 0 ? 0 : raw_port), close_after, save)) {
      std::fprintf(stderr, "vyx_printer_sim: cannot listen for print jobs\n");
      return 1;
    }
  }
  std::printf("discovery=%u raw=%u\n", sim.DiscoveryPort(), sim.RawPort());
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  sim.Stop();
  std::printf("requests=%d jobs=%d\n", sim.Requests(), sim.Jobs());
  return 0;
}
