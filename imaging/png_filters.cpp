#include "imaging/png_filters.h"

#include "imaging/png_error.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstring>
#endif

namespace tessival::imaging {

namespace {

// The byte distance is a template argument for the common pixel sizes so the compiler
// can keep the left-hand values in registers.
template <std::size_t Bpp>
void Sub(std::uint8_t* row, std::size_t n) {
  for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - Bpp]);
}

void Up(std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prev[i]);
}

template <std::size_t Bpp>
void Average(std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  const std::size_t head = n < Bpp ? n : Bpp;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prev[i] >> 1));
  for (std::size_t i = Bpp; i < n; ++i)
    row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - Bpp] + prev[i]) >> 1));
}

template <std::size_t Bpp>
void Paeth(std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  const std::size_t head = n < Bpp ? n : Bpp;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prev[i]);
  for (std::size_t i = Bpp; i < n; ++i)
    row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(row[i - Bpp], prev[i], prev[i - Bpp]));
}

// Without a previous row, Up adds nothing, Average adds half the left byte and Paeth
// predicts from the left byte alone, which is what Sub does.
template <std::size_t Bpp>
void AverageFirstRow(std::uint8_t* row, std::size_t n) {
  for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (row[i - Bpp] >> 1));
}

#if defined(__SSE2__)
// Sub, Average and Paeth depend on the reconstructed pixel to the left, so they cannot be
// vectorised along the row; for 3- and 4-byte pixels the channels of one pixel are done
// together in 16-bit lanes instead.
template <std::size_t Bpp>
__m128i LoadPixel(const std::uint8_t* p) {
  std::uint32_t v;
  if constexpr (Bpp == 4) {
    std::memcpy(&v, p, 4);
  } else {
    // Assembled in a register: a 3-byte copy through memory would stall on the store
    // of the pixel just written.
    v = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
  }
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(v)), _mm_setzero_si128());
}

template <std::size_t Bpp>
void StorePixel(std::uint8_t* p, __m128i v) {
  const auto packed = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
  std::memcpy(p, &packed, Bpp);
}

__m128i Low8(__m128i v) { return _mm_and_si128(v, _mm_set1_epi16(0xFF)); }
__m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
__m128i Select(__m128i mask, __m128i yes, __m128i no) {
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <std::size_t Bpp>
void SubPixels(std::uint8_t* row, std::size_t n) {
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    a = Low8(_mm_add_epi16(LoadPixel<Bpp>(row + i), a));
    StorePixel<Bpp>(row + i, a);
  }
}

template <std::size_t Bpp>
void AveragePixels(std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i average = _mm_srli_epi16(_mm_add_epi16(a, LoadPixel<Bpp>(prev + i)), 1);
    a = Low8(_mm_add_epi16(LoadPixel<Bpp>(row + i), average));
    StorePixel<Bpp>(row + i, a);
  }
}

template <std::size_t Bpp>
void PaethPixels(std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i b = LoadPixel<Bpp>(prev + i);
    const __m128i to_a = _mm_sub_epi16(b, c), to_b = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(to_a), pb = Abs16(to_b), pc = Abs16(_mm_add_epi16(to_a, to_b));
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    const __m128i predictor = Select(_mm_cmpeq_epi16(pa, smallest), a,
                                     Select(_mm_cmpeq_epi16(pb, smallest), b, c));
    a = Low8(_mm_add_epi16(LoadPixel<Bpp>(row + i), predictor));
    StorePixel<Bpp>(row + i, a);
    c = b;
  }
}
#endif

template <std::size_t Bpp>
void Unfilter(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
#if defined(__SSE2__)
  // Rows of 3- and 4-byte pixels are whole pixels, so the pixel loops end exactly.
  if constexpr (Bpp == 3 || Bpp == 4) {
    switch (type) {
      case 1: return SubPixels<Bpp>(row, n);
      case 3:
        if (prev) return AveragePixels<Bpp>(row, prev, n);
        break;
      case 4: return prev ? PaethPixels<Bpp>(row, prev, n) : SubPixels<Bpp>(row, n);
      default: break;
    }
  }
#endif
  switch (type) {
    case 0: return;
    case 1: return Sub<Bpp>(row, n);
    case 2:
      if (prev) Up(row, prev, n);
      return;
    case 3: return prev ? Average<Bpp>(row, prev, n) : AverageFirstRow<Bpp>(row, n);
    case 4: return prev ? Paeth<Bpp>(row, prev, n) : Sub<Bpp>(row, n);
    default: throw EPNGImageException(png_text::kUnknownFilter);
  }
}

}  // namespace

void UnfilterRow(std::uint8_t type, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
                 std::size_t bpp) {
  switch (bpp) {
    case 1: return Unfilter<1>(type, row, previous, length);
    case 2: return Unfilter<2>(type, row, previous, length);
    case 3: return Unfilter<3>(type, row, previous, length);
    case 4: return Unfilter<4>(type, row, previous, length);
    case 6: return Unfilter<6>(type, row, previous, length);
    default: return Unfilter<8>(type, row, previous, length);
  }
}

}  // namespace tessival::imaging
