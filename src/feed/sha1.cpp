#include "feed/sha1.h"

#include <array>
#include <cstdint>

namespace tarnwick::feed {
namespace {

using State = std::array<uint32_t, 5>;

constexpr size_t kBlockBytes = 64;

uint32_t RotateLeft(uint32_t value, int bits) {
  return (value << bits) | (value >> (32 - bits));
}

// Mixes one 64-byte block into the state (the eighty rounds of the algorithm).
void AddBlock(State& state, const unsigned char* block) {
  std::array<uint32_t, 80> words;
  for (int i = 0; i < 16; ++i) {
    words[i] = (uint32_t{block[4 * i]} << 24) | (uint32_t{block[4 * i + 1]} << 16) | (uint32_t{block[4 * i + 2]} << 8) |
               uint32_t{block[4 * i + 3]};
  }
  for (int i = 16; i < 80; ++i) words[i] = RotateLeft(words[i - 3] ^ words[i - 8] ^ words[i - 14] ^ words[i - 16], 1);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t mix = 0;
    uint32_t constant = 0;
    if (i < 20) {
      mix = (b & c) | (~b & d);
      constant = 0x5A827999;
    } else if (i < 40) {
      mix = b ^ c ^ d;
      constant = 0x6ED9EBA1;
    } else if (i < 60) {
      mix = (b & c) | (b & d) | (c & d);
      constant = 0x8F1BBCDC;
    } else {
      mix = b ^ c ^ d;
      constant = 0xCA62C1D6;
    }
    const uint32_t next = RotateLeft(a, 5) + mix + e + constant + words[i];
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

}  // namespace

std::string Sha1Hex(std::string_view bytes) {
  State state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t whole = bytes.size() - bytes.size() % kBlockBytes;
  for (size_t at = 0; at < whole; at += kBlockBytes) AddBlock(state, data + at);

  // The tail, a 1 bit, zeros, and the message length in bits as a 64-bit big-endian number.
  std::array<unsigned char, 2 * kBlockBytes> tail{};
  size_t rest = bytes.size() - whole;
  for (size_t i = 0; i < rest; ++i) tail[i] = data[whole + i];
  tail[rest] = 0x80;
  const size_t tailBytes = rest + 9 <= kBlockBytes ? kBlockBytes : 2 * kBlockBytes;
  const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tailBytes - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (size_t at = 0; at < tailBytes; at += kBlockBytes) AddBlock(state, tail.data() + at);

  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(40);
  for (uint32_t word : state) {
    for (int shift = 28; shift >= 0; shift -= 4) hex.push_back(kDigits[(word >> shift) & 0xF]);
  }
  return hex;
}

}  // namespace tarnwick::feed
