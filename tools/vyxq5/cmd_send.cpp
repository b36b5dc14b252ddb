// vyxq5 send FILE --to HOST[:PORT] [--timeout S]: sends a printer stream unchanged over a raw TCP connection, as
// a Standard TCP/IP port does (port 9100 unless given).
#include <cstdio>
#include <memory>
#include <string>

#include "tools/posix/raw_tcp_posix.h"
#include "tools/vyxq5/commands.h"

namespace vyxq5 {
namespace {

constexpr std::string_view kName = "send";
constexpr std::uint16_t kRawPort = 9100;

struct CSendArgs {
  std::string file, to;
  int timeout = 30;
};

int RunSend(const CSendArgs& a) {
  std::string host;
  std::uint16_t port = kRawPort;
  if (!vyx::SplitHostPort(a.to, host, port)) return FailUsage(kName, "--to takes HOST or HOST:PORT (1 to 65535)");
  if (a.timeout < 1 || a.timeout > 3600) return FailUsage(kName, "--timeout takes whole seconds from 1 to 3600");
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> input(std::fopen(a.file.c_str(), "rb"), &std::fclose);
  if (!input) return FailUsage(kName, "cannot read " + a.file);

  const vyx::CRawSendResult result = vyx::SendRawStream(host, port, input.get(), a.timeout * 1000);
  if (!result.ok) return Fail(kName, result.error);
  std::printf("sent %llu bytes to %s:%u\n", static_cast<unsigned long long>(result.sent), host.c_str(), port);
  return 0;
}

}  // namespace

void AddSendCommand(CCommandSet& commands) {
  auto a = std::make_shared<CSendArgs>();
  CLI::App& cmd = commands.Add("send",
                               "Sends a printer stream unchanged over a raw TCP connection, as a Standard TCP/IP "
                               "port does.",
                               [a] { return RunSend(*a); });
  cmd.add_option("FILE", a->file, "the printer stream to send")->required();
  cmd.add_option("--to", a->to, "the printer: HOST or HOST:PORT (port 9100 unless given)")->required();
  cmd.add_option("--timeout", a->timeout, "seconds the printer may take to accept the connection or more data");
}

}  // namespace vyxq5
