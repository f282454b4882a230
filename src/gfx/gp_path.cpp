#include "gfx/gp_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gfx/status.h"

namespace rc {

namespace {

int g_livePaths = 0;

// Largest distance allowed between a flattened arc and the true curve.
constexpr double kFlatness = 0.02;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The ellipse parameter of the point seen from the centre at polar angle
// `angle`, so that on an ellipse the arc ends where the angle points.
double ParameterAt(double angle, double rx, double ry) {
  if (rx == 0 || ry == 0 || rx == ry) return angle;
  // atan2 lands in the same quadrant as the angle, within a whole turn of it.
  const double t = std::atan2(rx * std::sin(angle), ry * std::cos(angle));
  const double turn = 2 * std::numbers::pi;
  return t + turn * std::round((angle - t) / turn);
}

int SegmentCount(double sweep, double radius) {
  if (radius <= kFlatness) return 1;
  const double step = 2 * std::acos(1 - kFlatness / radius);
  return std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 1, 1000);
}

std::vector<PointD> FlattenArc(double x, double y, double w, double h, double start, double sweep) {
  const double rx = w / 2;
  const double ry = h / 2;
  const PointD c{x + rx, y + ry};
  sweep = std::clamp(sweep, -360.0, 360.0);
  const double t0 = ParameterAt(Radians(start), std::fabs(rx), std::fabs(ry));
  double t1 = ParameterAt(Radians(start + sweep), std::fabs(rx), std::fabs(ry));
  if (std::fabs(sweep) >= 360.0) t1 = t0 + Radians(sweep);
  const int n = SegmentCount(t1 - t0, std::max(std::fabs(rx), std::fabs(ry)));
  std::vector<PointD> pts;
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + (t1 - t0) * i / n;
    pts.push_back({c.x + rx * std::cos(t), c.y + ry * std::sin(t)});
  }
  return pts;
}

}  // namespace

GpPath::~GpPath() { Delete(); }

bool GpPath::Create(FillMode fillMode) {
  Delete();
  holds_ = true;
  ++g_livePaths;
  fillMode_ = fillMode;
  return Record(GpStatus::Ok);
}

bool GpPath::Reset() {
  if (!holds_) return Record(GpStatus::InvalidParameter);
  figures_.clear();
  figureOpen_ = false;
  fillMode_ = FillMode::Alternate;
  return Record(GpStatus::Ok);
}

bool GpPath::AddArc(float x, float y, float width, float height, float startDeg, float sweepDeg) {
  if (!holds_) return Record(GpStatus::InvalidParameter);
  for (float v : {x, y, width, height, startDeg, sweepDeg}) {
    if (!std::isfinite(v)) return Record(GpStatus::InvalidParameter);
  }
  if (!figureOpen_) figures_.push_back({});
  figureOpen_ = true;
  std::vector<PointD>& points = figures_.back().points;
  for (const PointD& p : FlattenArc(x, y, width, height, startDeg, sweepDeg)) points.push_back(p);
  return Record(GpStatus::Ok);
}

bool GpPath::CloseAllFigures() {
  if (!holds_) return Record(GpStatus::InvalidParameter);
  for (Polyline& figure : figures_) figure.closed = true;
  figureOpen_ = false;
  return Record(GpStatus::Ok);
}

bool GpPath::Delete() {
  if (!holds_) return false;
  holds_ = false;
  --g_livePaths;
  figures_.clear();
  figureOpen_ = false;
  return Record(GpStatus::Ok);
}

int GpPath::LiveCount() { return g_livePaths; }

}  // namespace rc
