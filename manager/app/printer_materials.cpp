// Parsing the printer's material reply within its buffer.
#include "manager/app/printer_materials.h"

#include <string_view>

#include "manager/model/options.h"

namespace vyx {

namespace {

// The reply up to its terminating zero, or the whole buffer when it has none.
std::string_view Terminated(const char* reply, std::size_t size) {
  if (!reply) return {};
  std::size_t n = 0;
  while (n < size && reply[n] != '\0') ++n;
  return {reply, n};
}

std::int32_t ReadNumber(std::string_view text) {
  return ReadDecimal(std::wstring(text.begin(), text.end()));
}

// "digits,digits" and nothing else.
bool ReadStrictLine(std::string_view line, CLoadedMaterial& out) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return false;
  auto number = [](std::string_view digits, std::int32_t& value) {
    if (digits.empty() || digits.size() > 9) return false;
    std::int32_t v = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    value = v;
    return true;
  };
  return number(line.substr(0, comma), out.id) && number(line.substr(comma + 1), out.remainingCm);
}

}  // namespace

std::vector<CLoadedMaterial> ParseLoadedMaterialsStrict(const char* reply, std::size_t size) {
  std::vector<CLoadedMaterial> out;
  std::string_view rest = Terminated(reply, size);
  while (out.size() < 2 && !rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    CLoadedMaterial material;
    if (!ReadStrictLine(rest.substr(0, end), material)) break;
    out.push_back(material);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 2);
  }
  return out;
}

std::int32_t ParseLoadedTape(const char* reply, std::size_t size) {
  return ReadNumber(Terminated(reply, size));
}

std::vector<CLoadedMaterial> ParseLoadedMaterials(const char* reply, std::size_t size) {
  std::vector<CLoadedMaterial> out;
  std::string_view rest = Terminated(reply, size);
  while (out.size() < 2 && !rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) break;
    out.push_back({ReadNumber(line.substr(0, comma)), ReadNumber(line.substr(comma + 1))});
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 2);
  }
  return out;
}

}  // namespace vyx
