#include "imaging/png_filters.h"

#include "imaging/png_error.h"

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
  for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - Bpp] + prev[i]) >> 1));
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

template <std::size_t Bpp>
void Unfilter(std::uint8_t type, std::uint8_t* row, const std::uint8_t* prev, std::size_t n) {
  switch (type) {
    case 0: return;
    case 1: return Sub<Bpp>(row, n);
    case 2: if (prev) Up(row, prev, n); return;
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
