// A keyed hash of names, SipHash, whose key each run draws from the system's random source, so
// that names whose hashes collide cannot be computed in advance from the input alone.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace stationtext {

// A 128-bit hash key.
struct HashKey {
  std::uint64_t k0 = 0;
  std::uint64_t k1 = 0;

  // A key drawn from the operating system's random source (getrandom or /dev/urandom, or the
  // Windows equivalent). Should that fail, the clock, the process id and where this process's
  // code and stack lie are mixed instead, which still differ from run to run.
  static HashKey random();
};

// SipHash with `compress` rounds per 8 bytes of input and `finish` rounds at the end: a
// pseudorandom function of its key, with the reference's byte order and output.
template <int compress, int finish>
std::uint64_t sipHash(const HashKey& key, std::string_view bytes) {
  std::uint64_t v0 = key.k0 ^ 0x736f6d6570736575u;
  std::uint64_t v1 = key.k1 ^ 0x646f72616e646f6du;
  std::uint64_t v2 = key.k0 ^ 0x6c7967656e657261u;
  std::uint64_t v3 = key.k1 ^ 0x7465646279746573u;
  const auto rounds = [&](int count) {
    for (int i = 0; i < count; ++i) {
      v0 += v1;
      v1 = std::rotl(v1, 13) ^ v0;
      v0 = std::rotl(v0, 32);
      v2 += v3;
      v3 = std::rotl(v3, 16) ^ v2;
      v0 += v3;
      v3 = std::rotl(v3, 21) ^ v0;
      v2 += v1;
      v1 = std::rotl(v1, 17) ^ v2;
      v2 = std::rotl(v2, 32);
    }
  };
  const auto absorb = [&](std::uint64_t word) {
    v3 ^= word;
    rounds(compress);
    v0 ^= word;
  };
  // Eight bytes at a time, little-endian; the last word holds the rest and the length's low
  // byte at the top. The rest is read in a few loads that may overlap, not byte by byte.
  const auto load = [](const char* at, auto word) {
    std::memcpy(&word, at, sizeof word);
    if constexpr (std::endian::native == std::endian::big && sizeof word == 8) {
      word = __builtin_bswap64(word);
    } else if constexpr (std::endian::native == std::endian::big) {
      word = __builtin_bswap32(word);
    }
    return std::uint64_t{word};
  };
  const char* p = bytes.data();
  const std::size_t whole = bytes.size() & ~std::size_t{7};
  for (const char* const end = p + whole; p != end; p += 8)
    absorb(load(p, std::uint64_t{}));
  const std::size_t rest = bytes.size() - whole;
  std::uint64_t last = static_cast<std::uint64_t>(bytes.size()) << 56;
  if (rest != 0 && whole != 0) {
    // The eight bytes that end the input, of which the first were absorbed already.
    last |= load(p + rest - 8, std::uint64_t{}) >> (64 - 8 * rest);
  } else if (rest >= 4) {
    last |= load(p, std::uint32_t{}) | load(p + rest - 4, std::uint32_t{}) << (8 * (rest - 4));
  } else if (rest != 0) {
    const auto byte = [p](std::size_t i) {
      return std::uint64_t{static_cast<unsigned char>(p[i])};
    };
    last |= byte(0) | byte(rest / 2) << (8 * (rest / 2)) | byte(rest - 1) << (8 * (rest - 1));
  }
  absorb(last);
  v2 ^= 0xff;
  rounds(finish);
  return v0 ^ v1 ^ v2 ^ v3;
}

// The tables' hash of a name: SipHash-1-3 under a key of the table's own, as hash tables use it
// where their input may be crafted by someone else.
struct SipHash13 {
  HashKey key;
  std::uint64_t operator()(std::string_view name) const { return sipHash<1, 3>(key, name); }
};

}  // namespace stationtext
