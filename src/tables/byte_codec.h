// The byte layout of the engine's own binary files (index files, the
// journal): unsigned integers little-endian in 1 to 8 bytes, reads that
// stop at the end of the data instead of running past it, and the checksum
// that closes each file. No Qt.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevika::tables {

// Appends the low `bytes` bytes of `v`, least significant first.
void PutUint(std::string& out, std::uint64_t v, int bytes);

// Reads from `data` at `pos`. A read past the end returns 0 or an empty
// view and clears `ok`; every read after that does the same.
struct ByteReader {
  std::string_view data;
  std::size_t pos = 0;
  bool ok = true;
  std::uint64_t Get(int bytes);
  std::string_view Bytes(std::uint64_t n);
};

// 64-bit FNV-1a of the bytes.
std::uint64_t Checksum64(std::string_view data);

}  // namespace brevika::tables
