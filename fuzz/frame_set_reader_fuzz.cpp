// Arbitrary bytes read as a frame-set document and, on the frame sizes, as ROWS and COLS
// values: the reader's calls always nest (every set it opens it finishes, in order), it
// never recurses without bound, and the sizes it leads to stay within the extent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "reader/frame_set_reader.h"
#include "viewer/frame_sizes.h"

using namespace tessival;

namespace {

constexpr std::size_t MaxInput = 1 << 16;

class CheckingViewer : public layout::TFrameViewerBase {
 public:
  struct Node : layout::TFrameSetNode {};
  std::vector<Node*> open;
  std::vector<std::unique_ptr<Node>> nodes;

  void CreateFrame(layout::TFrameSetNode& parent, const html::TAttributeList&,
                   const std::string&) override {
    if (open.empty() || open.back() != &parent) std::abort();
  }
  layout::TFrameSetNode& CreateSubFrameSet(layout::TFrameSetNode& parent) override {
    if (open.empty() || open.back() != &parent) std::abort();
    nodes.push_back(std::make_unique<Node>());
    return *nodes.back();
  }
  void ApplyFrameSetAttributes(layout::TFrameSetNode& set, const html::TAttributeList&) override {
    open.push_back(static_cast<Node*>(&set));
    if (open.size() > 100) std::abort();
  }
  void FinishFrameSet(layout::TFrameSetNode& set) override {
    if (open.empty() || open.back() != &set) std::abort();
    open.pop_back();
  }
};

void CheckSizes(std::string_view value, int extent) {
  const std::vector<int> codes = viewer::ParseFrameEntries(value);
  if (codes.empty() || codes.size() > viewer::kMaxFrameEntries) std::abort();
  const std::vector<int> sizes = viewer::DistributeFrameSizes(codes, extent);
  for (const int size : sizes) {
    if (size < 0 || size > extent) std::abort();
  }
  const std::vector<int> ends = viewer::PlaceFrameEnds(sizes, extent);
  for (std::size_t i = 1; i < ends.size(); ++i) {
    if (ends[i] < ends[i - 1] || ends[i] > extent) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxInput) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckingViewer viewer;
  CheckingViewer::Node top;
  layout::ParseFrameSet(layout::TFrameSetSource::FromText(text), viewer, top, "/dir");
  layout::IsFrameDocument(layout::TFrameSetSource::FromText(text));
  CheckSizes(text, 0);
  CheckSizes(text, 731);
  return 0;
}
