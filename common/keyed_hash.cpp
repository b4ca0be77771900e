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
  std::uint64_t words[2];
  for (std::uint64_t& word : words) {
    unsigned int high = 0, low = 0;
    if (rand_s(&high) != 0 || rand_s(&low) != 0) return false;
    word = std::uint64_t{high} << 32 | low;
  }
  key = {words[0], words[1]};
  return true;
#else
  unsigned char bytes[sizeof key];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < sizeof bytes) {
    // Kernels before getrandom(), or a sandbox that forbids it: the device still works.
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    got = 0;
    while (got < sizeof bytes) {
      const ssize_t n = read(fd, bytes + got, sizeof bytes - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    close(fd);
    if (got < sizeof bytes) return false;
  }
  std::memcpy(&key, bytes, sizeof key);
  return true;
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
