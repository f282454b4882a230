// A path of figures built from elliptical arcs. Arcs are flattened into
// points as they are added; consecutive arcs in one figure are joined by
// straight lines.
#pragma once

#include <vector>

#include "gfx/stroke.h"

namespace rc {

enum class FillMode { Alternate = 0, Winding = 1 };

class GpPath {
 public:
  GpPath() = default;
  ~GpPath();
  GpPath(const GpPath&) = delete;
  GpPath& operator=(const GpPath&) = delete;

  // Releases any path held, then makes a new empty one.
  bool Create(FillMode fillMode = FillMode::Alternate);
  // Empties the path and restores the alternate fill mode.
  bool Reset();
  // Adds the arc of the ellipse inscribed in (x, y, width, height) from
  // `startDeg`, sweeping `sweepDeg`; angles run clockwise from +x on the
  // screen (y points down), and a sweep beyond a full turn is one turn.
  bool AddArc(float x, float y, float width, float height, float startDeg, float sweepDeg);
  // Closes every open figure; the next arc starts a new figure.
  bool CloseAllFigures();
  bool Delete();

  bool Holds() const { return holds_; }
  FillMode Mode() const { return fillMode_; }
  const std::vector<Polyline>& Figures() const { return figures_; }

  // Paths alive in the whole process.
  static int LiveCount();

 private:
  bool holds_ = false;
  FillMode fillMode_ = FillMode::Alternate;
  std::vector<Polyline> figures_;
  bool figureOpen_ = false;
};

}  // namespace rc
