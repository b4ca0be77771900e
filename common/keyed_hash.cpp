// Drawing hash keys from the operating system's random source.
#ifdef _WIN32
#define _CRT_RAND_S  // declares rand_s(), which asks the system's random number generator
#endif

#include "keyed_hash.hpp"

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

}  // namespace stationtext
