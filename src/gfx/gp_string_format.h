// Text layout options. The program never creates one: an empty format means
// the default layout, left- and top-aligned and clipped to the layout box.
#pragma once

#include "gfx/status.h"

namespace rc {

class GpStringFormat {
 public:
  GpStringFormat() = default;
  ~GpStringFormat() { Delete(); }
  GpStringFormat(const GpStringFormat&) = delete;
  GpStringFormat& operator=(const GpStringFormat&) = delete;

  // Releases any format held, then makes a default one.
  bool Create() {
    Delete();
    holds_ = true;
    return Record(GpStatus::Ok);
  }
  bool Delete() {
    if (!holds_) return false;
    holds_ = false;
    return Record(GpStatus::Ok);
  }
  bool Holds() const { return holds_; }

 private:
  bool holds_ = false;
};

}  // namespace rc
