#include "imaging/palette_search.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessival::imaging {

namespace {

// A padding entry's distance is at least 3 × (2000 − 255), beyond the 765 of the farthest
// real entry and still well inside 16 bits.
constexpr std::int16_t kFar = 2000;
constexpr int kLanes = 8;

#if defined(__SSE2__)
__m128i AbsoluteDifference(__m128i a, __m128i b) {
  return _mm_max_epi16(_mm_sub_epi16(a, b), _mm_sub_epi16(b, a));
}

__m128i Load(const std::array<std::int16_t, 256>& row, int group) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(row.data() + kLanes * group));
}
#endif

}  // namespace

TPaletteSearch::TPaletteSearch(const Palette& palette)
    : count_(static_cast<int>(std::min<std::size_t>(palette.size(), 256))) {
  reds_.fill(kFar);
  greens_.fill(kFar);
  blues_.fill(kFar);
  for (int i = 0; i < count_; ++i) {
    const PaletteEntry& e = palette[static_cast<std::size_t>(i)];
    reds_[static_cast<std::size_t>(i)] = e.red;
    greens_[static_cast<std::size_t>(i)] = e.green;
    blues_[static_cast<std::size_t>(i)] = e.blue;
  }
}

#if defined(__SSE2__)
int TPaletteSearch::Nearest(int red, int green, int blue) const {
  if (count_ == 0) return 0;
  // Each lane keeps the nearest of the entries it sees (i, i + 8, i + 16 …); a strict
  // comparison keeps the earlier one of equals.
  const __m128i r = _mm_set1_epi16(static_cast<std::int16_t>(red));
  const __m128i g = _mm_set1_epi16(static_cast<std::int16_t>(green));
  const __m128i b = _mm_set1_epi16(static_cast<std::int16_t>(blue));
  __m128i best = _mm_set1_epi16(std::numeric_limits<std::int16_t>::max());
  __m128i best_index = _mm_setzero_si128();
  __m128i index = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
  const __m128i step = _mm_set1_epi16(kLanes);
  const int groups = (count_ + kLanes - 1) / kLanes;
  for (int group = 0; group < groups; ++group) {
    const __m128i distance = _mm_add_epi16(_mm_add_epi16(AbsoluteDifference(Load(reds_, group), r),
                                                         AbsoluteDifference(Load(greens_, group), g)),
                                           AbsoluteDifference(Load(blues_, group), b));
    const __m128i closer = _mm_cmplt_epi16(distance, best);
    best = _mm_min_epi16(distance, best);
    best_index = _mm_or_si128(_mm_and_si128(closer, index), _mm_andnot_si128(closer, best_index));
    index = _mm_add_epi16(index, step);
  }
  alignas(16) std::int16_t distances[kLanes];
  alignas(16) std::int16_t indexes[kLanes];
  _mm_store_si128(reinterpret_cast<__m128i*>(distances), best);
  _mm_store_si128(reinterpret_cast<__m128i*>(indexes), best_index);
  // The lowest index among the lanes that found the smallest distance.
  int winner = indexes[0];
  int least = distances[0];
  for (int lane = 1; lane < kLanes; ++lane)
    if (distances[lane] < least || (distances[lane] == least && indexes[lane] < winner)) {
      least = distances[lane];
      winner = indexes[lane];
    }
  return winner;
}
#else
int TPaletteSearch::Nearest(int red, int green, int blue) const {
  int best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (int i = 0; i < count_; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int distance = std::abs(red - reds_[at]) + std::abs(green - greens_[at]) +
                         std::abs(blue - blues_[at]);
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return best;
}
#endif

}  // namespace tessival::imaging
