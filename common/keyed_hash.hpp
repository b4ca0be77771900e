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

// Little-endian loads of 4 and 8 bytes at `at`, from any address.
inline std::uint32_t loadLittle32(const char* at) {
  std::uint32_t word;
  std::memcpy(&word, at, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  return word;
}
inline std::uint64_t loadLittle64(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// SipHash's state, with `compress` rounds per 8 bytes of input and `final` rounds at the end:
// a pseudorandom function of its key, with the reference's byte order and output.
template <int compress, int final>
class SipState {
 public:
  explicit SipState(const HashKey& key)
      : v0_(key.k0 ^ 0x736f6d6570736575u),
        v1_(key.k1 ^ 0x646f72616e646f6du),
        v2_(key.k0 ^ 0x6c7967656e657261u),
        v3_(key.k1 ^ 0x7465646279746573u) {}

  void absorb(std::uint64_t word) {
    v3_ ^= word;
    rounds(compress);
    v0_ ^= word;
  }
  std::uint64_t finish() {
    v2_ ^= 0xff;
    rounds(final);
    return v0_ ^ v1_ ^ v2_ ^ v3_;
  }

 private:
  void rounds(int count) {
    for (int i = 0; i < count; ++i) {
      v0_ += v1_;
      v1_ = std::rotl(v1_, 13) ^ v0_;
      v0_ = std::rotl(v0_, 32);
      v2_ += v3_;
      v3_ = std::rotl(v3_, 16) ^ v2_;
      v0_ += v3_;
      v3_ = std::rotl(v3_, 21) ^ v0_;
      v2_ += v1_;
      v1_ = std::rotl(v1_, 17) ^ v2_;
      v2_ = std::rotl(v2_, 32);
    }
  }

  std::uint64_t v0_, v1_, v2_, v3_;
};

// The last word SipHash absorbs: the bytes after the whole words of `bytes`, and the length's
// low byte at the top. The rest is read in a few loads that may overlap, not byte by byte.
inline std::uint64_t sipLastWord(std::string_view bytes) {
  const char* const p = bytes.data() + (bytes.size() & ~std::size_t{7});
  const std::size_t rest = bytes.size() & 7;
  std::uint64_t last = static_cast<std::uint64_t>(bytes.size()) << 56;
  if (rest != 0 && bytes.size() >= 8) {
    // The eight bytes that end the input, of which the first were absorbed already.
    last |= loadLittle64(p + rest - 8) >> (64 - 8 * rest);
  } else if (rest >= 4) {
    last |= loadLittle32(p) | std::uint64_t{loadLittle32(p + rest - 4)} << (8 * (rest - 4));
  } else if (rest != 0) {
    const auto byte = [p](std::size_t i) {
      return std::uint64_t{static_cast<unsigned char>(p[i])};
    };
    last |= byte(0) | byte(rest / 2) << (8 * (rest / 2)) | byte(rest - 1) << (8 * (rest - 1));
  }
  return last;
}

// SipHash-c-d of `bytes` under `key`.
template <int compress, int final>
std::uint64_t sipHash(const HashKey& key, std::string_view bytes) {
  SipState<compress, final> state(key);
  const char* p = bytes.data();
  for (const char* const end = p + (bytes.size() & ~std::size_t{7}); p != end; p += 8)
    state.absorb(loadLittle64(p));
  state.absorb(sipLastWord(bytes));
  return state.finish();
}

// SipHash-1-3 under a key of the table's own, as hash tables use it where their input may be
// crafted by someone else.
struct SipHash13 {
  HashKey key;
  std::uint64_t operator()(std::string_view name) const { return sipHash<1, 3>(key, name); }
};

// The tables' hash of a name. A short name is hashed by SipHash-1-3. A long one is first
// compressed a chunk at a time by NH, a universal hash under a key drawn from the table's (two
// different chunks collide for at most one key in 2^32, and without the key nobody knows which),
// and SipHash then hashes the chunks' values and the length: about a tenth of SipHash's work per
// byte, and cheap in 32-bit code too, where SipHash's 64-bit rounds are slow.
class NameHash {
 public:
  // Names at least this long take the chunked path: below it, SipHash costs as little.
  static constexpr std::size_t kLongName = 128;
  // Bytes per NH chunk, a multiple of 8: the NH key holds a 32-bit word for each 4 of them.
  static constexpr std::size_t kChunkBytes = 1024;

  NameHash() : NameHash(HashKey{}) {}
  explicit NameHash(const HashKey& key);
  std::uint64_t operator()(std::string_view name) const {
    return name.size() < kLongName ? sipHash<1, 3>(key_, name) : longHash(name);
  }

 private:
  std::uint64_t longHash(std::string_view name) const;
  // NH of the `bytes` (at most kChunkBytes) at `p`, zero-padded to a multiple of 8.
  std::uint64_t chunkHash(const char* p, std::size_t bytes) const;

  HashKey key_;
  std::uint32_t nhKey_[kChunkBytes / 4];
};

}  // namespace stationtext
