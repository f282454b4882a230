#include "gfx/gp_brush.h"

#include "gfx/status.h"

namespace rc {

namespace {
int g_liveBrushes = 0;
}

GpSolidBrush::~GpSolidBrush() { Delete(); }

bool GpSolidBrush::Create(uint32_t argb) {
  Delete();
  holds_ = true;
  ++g_liveBrushes;
  argb_ = argb;
  return Record(GpStatus::Ok);
}

bool GpSolidBrush::SetColor(uint32_t argb) {
  if (!holds_) return Record(GpStatus::InvalidParameter);
  argb_ = argb;
  return Record(GpStatus::Ok);
}

bool GpSolidBrush::Delete() {
  if (!holds_) return false;
  holds_ = false;
  --g_liveBrushes;
  return Record(GpStatus::Ok);
}

int GpSolidBrush::LiveCount() { return g_liveBrushes; }

}  // namespace rc
