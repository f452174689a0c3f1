#pragma once
// Octree colour quantizer: builds a tree of colours down to `colour_bits` levels and folds
// the most recently created inner node of the deepest level whenever there are more
// leaves than colours allowed.
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class TOctreeQuantizer {
 public:
  TOctreeQuantizer(int max_colors, int color_bits);
  void Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Every leaf's average colour, children visited in order 0..7.
  Palette Colors() const;
  int LeafCount() const { return leaf_count_; }

 private:
  struct Node {
    bool leaf = false;
    std::uint32_t pixels = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    std::array<int, 8> children{-1, -1, -1, -1, -1, -1, -1, -1};
    int next_reducible = -1;
  };
  int NewNode(int level);
  void FreeNode(int index);
  void Reduce();
  void Collect(int index, Palette& out) const;

  int max_colors_;
  int color_bits_;
  int leaf_count_ = 0;
  int root_ = -1;
  std::vector<Node> nodes_;
  std::vector<int> free_nodes_;
  std::array<int, 9> reducible_{-1, -1, -1, -1, -1, -1, -1, -1, -1};
};

}  // namespace tessival::imaging
