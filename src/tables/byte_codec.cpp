#include "tables/byte_codec.h"

namespace brevika::tables {

void PutUint(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint64_t ByteReader::Get(int bytes) {
  if (!ok || data.size() - pos < static_cast<std::size_t>(bytes)) {
    ok = false;
    return 0;
  }
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[pos + i])) << (8 * i);
  pos += static_cast<std::size_t>(bytes);
  return v;
}

std::string_view ByteReader::Bytes(std::uint64_t n) {
  if (!ok || data.size() - pos < n) {
    ok = false;
    return {};
  }
  std::string_view s = data.substr(pos, static_cast<std::size_t>(n));
  pos += static_cast<std::size_t>(n);
  return s;
}

std::uint64_t Checksum64(std::string_view data) {
  std::uint64_t h = 1469598103934665603ull;
  for (char c : data) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace brevika::tables
