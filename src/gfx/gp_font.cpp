#include "gfx/gp_font.h"

#include <cmath>

#include "gfx/status.h"

namespace rc {

namespace {
int g_liveFonts = 0;
}

GpFont::~GpFont() { Delete(); }

bool GpFont::Create(const std::string& familyName, float emSize) {
  Delete();
  if (familyName.empty()) return Record(GpStatus::FontFamilyNotFound);
  if (!std::isfinite(emSize) || emSize <= 0) return Record(GpStatus::InvalidParameter);
  holds_ = true;
  ++g_liveFonts;
  family_ = familyName;
  emSize_ = emSize;
  return Record(GpStatus::Ok);
}

bool GpFont::Delete() {
  if (!holds_) return false;
  holds_ = false;
  --g_liveFonts;
  family_.clear();
  emSize_ = 0;
  return Record(GpStatus::Ok);
}

int GpFont::LiveCount() { return g_liveFonts; }

}  // namespace rc
