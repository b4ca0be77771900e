// Drawing hash keys from the operating system's random source.
#ifdef _WIN32
#define _CRT_RAND_S  // declares rand_s(), which asks the system's random number generator
#endif

#include "keyed_hash.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>
#endif

namespace stationtext {

namespace {

// Fills `key` from the system's random source; false when that source cannot be used.
bool systemRandom(HashKey& key) {
#ifdef _WIN32
  unsigned int parts[sizeof key / sizeof(unsigned int)];
  for (unsigned int& part : parts) {
    if (rand_s(&part) != 0) return false;
  }
  std::memcpy(&key, parts, sizeof key);
  return true;
#else
  unsigned char bytes[sizeof key];
  // Each source may hand out fewer bytes than asked for: ask again for the rest.
  const auto fill = [&bytes](auto read) {
    for (std::size_t got = 0; got < sizeof bytes;) {
      const ssize_t n = read(bytes + got, sizeof bytes - got);
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    return true;
  };
  bool filled = fill([](unsigned char* p, std::size_t n) { return getrandom(p, n, 0); });
  if (!filled) {
    // Kernels before getrandom(), or a sandbox that forbids it: the device still works.
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    filled = fill([fd](unsigned char* p, std::size_t n) { return read(fd, p, n); });
    close(fd);
  }
  if (filled) std::memcpy(&key, bytes, sizeof key);
  return filled;
#endif
}

std::uint64_t mix(std::uint64_t x) {
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
  return x ^ (x >> 31);
}

}  // namespace

HashKey HashKey::random() {
  HashKey key;
  if (systemRandom(key)) return key;
  const int local = 0;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
#ifdef _WIN32
  const auto pid = static_cast<std::uint64_t>(_getpid());
#else
  const auto pid = static_cast<std::uint64_t>(getpid());
#endif
  key.k0 = mix(now ^ mix(reinterpret_cast<std::uintptr_t>(&local)));
  key.k1 = mix(key.k0 ^ pid ^ mix(reinterpret_cast<std::uintptr_t>(&HashKey::random)));
  return key;
}

NameHash::NameHash(const HashKey& key) : key_(key) {
  // The NH key: SipHash of a counter under the table's key, so that it is as secret as the key.
  const HashKey derived{key.k0 ^ 0x4e48u, key.k1};
  for (std::size_t i = 0; i < std::size(nhKey_); i += 2) {
    const std::uint64_t word =
        SipHash13{derived}(std::string_view(reinterpret_cast<const char*>(&i), sizeof i));
    nhKey_[i] = static_cast<std::uint32_t>(word);
    nhKey_[i + 1] = static_cast<std::uint32_t>(word >> 32);
  }
}

std::uint64_t NameHash::chunkHash(const char* p, std::size_t bytes) const {
  // NH: the sum of products of message and key words added in pairs, each 32 bits, into 64.
  std::uint64_t sum = 0;
  std::size_t i = 0;
  for (; i + 8 <= bytes; i += 8) {
    const std::uint32_t a = loadLittle32(p + i) + nhKey_[i / 4];
    const std::uint32_t b = loadLittle32(p + i + 4) + nhKey_[i / 4 + 1];
    sum += std::uint64_t{a} * b;
  }
  if (i != bytes) {
    char tail[8] = {};
    std::memcpy(tail, p + i, bytes - i);
    const std::uint32_t a = loadLittle32(tail) + nhKey_[i / 4];
    const std::uint32_t b = loadLittle32(tail + 4) + nhKey_[i / 4 + 1];
    sum += std::uint64_t{a} * b;
  }
  return sum;
}

std::uint64_t NameHash::longHash(std::string_view name) const {
  SipState<1, 3> state(key_);
  for (std::size_t at = 0; at < name.size(); at += kChunkBytes)
    state.absorb(chunkHash(name.data() + at, std::min(kChunkBytes, name.size() - at)));
  state.absorb(name.size());
  return state.finish();
}

}  // namespace stationtext
