#include <algorithm>
#include <utility>

#include "platform/font.h"

namespace tessival::platform {

AdvanceTable::AdvanceTable(int every) : shared_(std::make_shared<Shared>()) {
  shared_->advance.fill(every);
}

AdvanceTable::AdvanceTable(Measure measure) : shared_(std::make_shared<Shared>()) {
  shared_->advance.fill(-1);
  shared_->measure = std::move(measure);
}

int AdvanceTable::MeasureByte(unsigned char byte) const {
  // Never negative once asked, so each byte is measured once.
  const int measured = shared_->measure ? std::max(0, shared_->measure(byte)) : 0;
  shared_->advance[byte] = measured;
  return measured;
}

}  // namespace tessival::platform
