// The panel's readouts: a number in fixed notation, as C's printf writes it with a
// format of the form "%[0][width][.precision]f", into the host's text buffer.
//
// The modules carry this small formatter instead of a C library's printf: the static
// C99 printf of the win32 toolchain adds 28 KiB to every module with a readout, and the
// system's msvcrt printf writes a NaN as "0001" under "%04.0f". The digits are exact
// (round half to even, as glibc), "nan", "-nan", "inf" and "-inf" as glibc writes them,
// so both builds write the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vk4 {

struct Format {
  int width = 0;       // at least this many characters
  int precision = 6;   // digits after the point
  bool zero_pad = false;

  // Reads a format such as "%04.0f" or "%.2f" when the gauge compiles.
  consteval explicit Format(const char* f) {
    int i = 0;
    if (f[i++] != '%') throw "a readout format starts with %";
    if (f[i] == '0') {
      zero_pad = true;
      ++i;
    }
    width = 0;
    while (f[i] >= '0' && f[i] <= '9') width = width * 10 + (f[i++] - '0');
    if (f[i] == '.') {
      ++i;
      precision = 0;
      while (f[i] >= '0' && f[i] <= '9') precision = precision * 10 + (f[i++] - '0');
    }
    if (f[i++] != 'f' || f[i] != '\0') throw "a readout format is %[0][width][.precision]f";
    if (width > 40 || precision > 9) throw "a readout format's width is at most 40, its precision at most 9";
  }
};

namespace format_detail {

// A non-negative integer of up to 1152 bits: any double's m x 2^e times 10^9.
struct Big {
  static constexpr int words = 36;
  uint32_t w[words] = {};

  bool zero() const {
    for (uint32_t x : w)
      if (x != 0) return false;
    return true;
  }
  bool bit(int i) const { return i >= 0 && i < words * 32 && ((w[i / 32] >> (i % 32)) & 1u) != 0; }
  bool any_below(int i) const {  // any bit below bit i set
    for (int k = 0; k < i / 32 && k < words; ++k)
      if (w[k] != 0) return true;
    return i % 32 != 0 && i / 32 < words && (w[i / 32] & ((1u << (i % 32)) - 1)) != 0;
  }
  void multiply(uint32_t f) {
    uint64_t carry = 0;
    for (uint32_t& x : w) {
      const uint64_t v = static_cast<uint64_t>(x) * f + carry;
      x = static_cast<uint32_t>(v);
      carry = v >> 32;
    }
  }
  void shift(int bits) {  // left for bits > 0, right for bits < 0
    Big r;
    for (int i = 0; i < words; ++i) {
      // Result word i takes bits [32i - bits, 32i - bits + 32) of this.
      const int from = 32 * i - bits;
      const int k = from >= 0 ? from / 32 : -((-from + 31) / 32);
      const int o = from - 32 * k;  // 0 to 31
      const uint64_t lo = k >= 0 && k < words ? w[k] : 0;
      const uint64_t hi = k + 1 >= 0 && k + 1 < words ? w[k + 1] : 0;
      r.w[i] = static_cast<uint32_t>(((hi << 32) | lo) >> o);
    }
    *this = r;
  }
  void add_one() {
    for (uint32_t& x : w)
      if (++x != 0) break;
  }
  uint32_t divide(uint32_t d) {  // by d; returns the remainder
    uint64_t r = 0;
    int top = words - 1;
    while (top > 0 && w[top] == 0) --top;
    for (int i = top; i >= 0; --i) {
      const uint64_t cur = (r << 32) | w[i];
      w[i] = static_cast<uint32_t>(cur / d);
      r = cur % d;
    }
    return static_cast<uint32_t>(r);
  }
};

}  // namespace format_detail

// Writes `value` by the format into `out`, at most `size` bytes with the terminator, and
// returns the length the whole text has (as snprintf does).
// Not inlined: one copy per module, and its cost stays apart from the gauge's own.
[[gnu::noinline]] inline size_t format_fixed(char* out, size_t size, const Format& f, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int exponent_bits = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  char body[360];  // the digits and the point: at most 309 + 1 + 9
  size_t blen = 0;
  const bool number = exponent_bits != 0x7FF;
  if (!number) {
    const char* word = fraction != 0 ? "nan" : "inf";
    for (int i = 0; i < 3; ++i) body[blen++] = word[i];
  } else {
    // value = m x 2^e exactly; the digits are those of m x 10^precision x 2^e, rounded
    // to a whole number, half to even.
    const uint64_t m = exponent_bits == 0 ? fraction : fraction | (uint64_t{1} << 52);
    const int e = (exponent_bits == 0 ? 1 : exponent_bits) - 1075;
    format_detail::Big q;
    q.w[0] = static_cast<uint32_t>(m);
    q.w[1] = static_cast<uint32_t>(m >> 32);
    for (int p = 0; p < f.precision; ++p) q.multiply(10);
    if (e >= 0) {
      q.shift(e);
    } else {
      const int s = -e;
      const bool half_bit = q.bit(s - 1), rest = q.any_below(s - 1);
      q.shift(-s);
      if (half_bit && (rest || q.bit(0))) q.add_one();
    }
    char digits[360];
    size_t nd = 0;
    while (!q.zero()) {
      uint32_t chunk = q.divide(1000000000u);
      for (int k = 0; k < 9; ++k) {
        digits[nd++] = static_cast<char>('0' + chunk % 10);
        chunk /= 10;
      }
    }
    while (nd > 0 && digits[nd - 1] == '0') --nd;
    while (nd < static_cast<size_t>(f.precision) + 1) digits[nd++] = '0';
    for (size_t i = nd; i-- > 0;) {
      body[blen++] = digits[i];
      if (i == static_cast<size_t>(f.precision) && f.precision > 0) body[blen++] = '.';
    }
  }
  // Padding: zeros after the sign for a number, blanks before it for nan and inf.
  char text[400];
  size_t len = 0;
  const size_t sign = negative ? 1 : 0;
  const size_t pad = static_cast<size_t>(f.width) > blen + sign ? f.width - blen - sign : 0;
  if (!(f.zero_pad && number))
    for (size_t i = 0; i < pad; ++i) text[len++] = ' ';
  if (negative) text[len++] = '-';
  if (f.zero_pad && number)
    for (size_t i = 0; i < pad; ++i) text[len++] = '0';
  for (size_t i = 0; i < blen; ++i) text[len++] = body[i];
  if (size > 0) {
    const size_t n = len < size ? len : size - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
  }
  return len;
}

}  // namespace vk4
