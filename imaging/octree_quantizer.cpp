#include "imaging/octree_quantizer.h"

#include <algorithm>

namespace tessival::imaging {

TOctreeQuantizer::TOctreeQuantizer(int max_colors, int color_bits)
    : max_colors_(std::max(1, max_colors)), color_bits_(std::clamp(color_bits, 1, 8)) {}

int TOctreeQuantizer::NewNode(int level) {
  int index;
  if (!free_nodes_.empty()) {
    index = free_nodes_.back();
    free_nodes_.pop_back();
    nodes_[static_cast<std::size_t>(index)] = Node{};
  } else {
    index = static_cast<int>(nodes_.size());
    nodes_.emplace_back();
  }
  Node& node = nodes_[static_cast<std::size_t>(index)];
  if (level == color_bits_) {
    node.leaf = true;
    ++leaf_count_;
  } else {
    node.next_reducible = reducible_[static_cast<std::size_t>(level)];
    reducible_[static_cast<std::size_t>(level)] = index;
  }
  return index;
}

void TOctreeQuantizer::FreeNode(int index) { free_nodes_.push_back(index); }

void TOctreeQuantizer::Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  if (root_ < 0) root_ = NewNode(0);
  int index = root_;
  for (int level = 0;; ++level) {
    Node& node = nodes_[static_cast<std::size_t>(index)];
    if (node.leaf) {
      ++node.pixels;
      node.red += red;
      node.green += green;
      node.blue += blue;
      break;
    }
    const int shift = 7 - level;
    const int mask = 0x80 >> level;
    const int child = ((red & mask) >> shift) * 4 + ((green & mask) >> shift) * 2 +
                      ((blue & mask) >> shift);
    int next = node.children[static_cast<std::size_t>(child)];
    if (next < 0) {
      next = NewNode(level + 1);  // may move nodes_: re-index below
      nodes_[static_cast<std::size_t>(index)].children[static_cast<std::size_t>(child)] = next;
    }
    index = next;
  }
  while (leaf_count_ > max_colors_) Reduce();
}

void TOctreeQuantizer::Reduce() {
  int level = color_bits_ - 1;
  while (level > 0 && reducible_[static_cast<std::size_t>(level)] < 0) --level;
  const int index = reducible_[static_cast<std::size_t>(level)];
  if (index < 0) return;
  Node& node = nodes_[static_cast<std::size_t>(index)];
  reducible_[static_cast<std::size_t>(level)] = node.next_reducible;
  int children = 0;
  for (int& child : node.children) {
    if (child < 0) continue;
    const Node& c = nodes_[static_cast<std::size_t>(child)];
    node.pixels += c.pixels;
    node.red += c.red;
    node.green += c.green;
    node.blue += c.blue;
    FreeNode(child);
    child = -1;
    ++children;
  }
  node.leaf = true;
  leaf_count_ += 1 - children;
}

void TOctreeQuantizer::Collect(int index, Palette& out) const {
  const Node& node = nodes_[static_cast<std::size_t>(index)];
  if (node.leaf) {
    if (node.pixels == 0) {
      out.push_back({0, 0, 0, 0});
    } else {
      out.push_back({static_cast<std::uint8_t>(node.red / node.pixels),
                     static_cast<std::uint8_t>(node.green / node.pixels),
                     static_cast<std::uint8_t>(node.blue / node.pixels), 0});
    }
    return;
  }
  for (int child : node.children)
    if (child >= 0) Collect(child, out);
}

Palette TOctreeQuantizer::Colors() const {
  Palette out;
  if (root_ >= 0) Collect(root_, out);
  return out;
}

}  // namespace tessival::imaging
