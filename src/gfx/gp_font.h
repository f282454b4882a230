// A font by family name and em size in pixels. The family is looked up
// only when text is drawn, where the host falls back to an installed font.
#pragma once

#include <string>

namespace rc {

class GpFont {
 public:
  GpFont() = default;
  ~GpFont();
  GpFont(const GpFont&) = delete;
  GpFont& operator=(const GpFont&) = delete;

  // Releases any font held, then makes a new one; the size must be positive.
  bool Create(const std::string& familyName, float emSize);
  bool Delete();

  bool Holds() const { return holds_; }
  const std::string& Family() const { return family_; }
  float EmSize() const { return emSize_; }

  // Fonts alive in the whole process.
  static int LiveCount();

 private:
  bool holds_ = false;
  std::string family_;
  float emSize_ = 0;
};

}  // namespace rc
