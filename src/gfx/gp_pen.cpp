#include "gfx/gp_pen.h"

#include <cmath>

#include "gfx/status.h"

namespace rc {

namespace {
int g_livePens = 0;
}

GpPen::~GpPen() { Delete(); }

bool GpPen::Create(uint32_t argb, float width) {
  Delete();
  if (!std::isfinite(width)) return Record(GpStatus::InvalidParameter);
  holds_ = true;
  ++g_livePens;
  argb_ = argb;
  width_ = width;
  return Record(GpStatus::Ok);
}

bool GpPen::SetWidth(float width) {
  if (!holds_ || !std::isfinite(width)) return Record(GpStatus::InvalidParameter);
  width_ = width;
  return Record(GpStatus::Ok);
}

bool GpPen::SetColor(uint32_t argb) {
  if (!holds_) return Record(GpStatus::InvalidParameter);
  argb_ = argb;
  return Record(GpStatus::Ok);
}

bool GpPen::Delete() {
  if (!holds_) return false;
  holds_ = false;
  --g_livePens;
  return Record(GpStatus::Ok);
}

int GpPen::LiveCount() { return g_livePens; }

}  // namespace rc
