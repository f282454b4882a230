#include "latency_chart.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace rc::bench {

namespace {

constexpr double kWidth = 900;
constexpr double kHeight = 360;
constexpr double kMargin = 50;

std::string Polyline(const Series& s, double maxValue, size_t count) {
  std::ostringstream points;
  for (size_t i = 0; i < s.values.size(); ++i) {
    const double x = kMargin + (kWidth - 2 * kMargin) * static_cast<double>(i) / std::max<size_t>(count - 1, 1);
    const double y = kHeight - kMargin - (kHeight - 2 * kMargin) * s.values[i] / maxValue;
    points << x << ',' << y << ' ';
  }
  return "<polyline fill=\"none\" stroke=\"" + s.colour + "\" stroke-width=\"1.5\" points=\"" + points.str() +
         "\"/>\n";
}

}  // namespace

bool WriteLatencyChart(const std::string& path, const std::string& title, const std::vector<Series>& series) {
  double maxValue = 0.001;
  size_t count = 1;
  for (const Series& s : series) {
    for (double v : s.values) maxValue = std::max(maxValue, v);
    count = std::max(count, s.values.size());
  }
  std::ofstream out(path);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<text x=\"" << kMargin << "\" y=\"24\" font-family=\"sans-serif\" font-size=\"14\">" << title
      << "</text>\n"
      << "<text x=\"4\" y=\"" << kMargin << "\" font-family=\"sans-serif\" font-size=\"11\">" << maxValue
      << " ms</text>\n"
      << "<line x1=\"" << kMargin << "\" y1=\"" << kHeight - kMargin << "\" x2=\"" << kWidth - kMargin << "\" y2=\""
      << kHeight - kMargin << "\" stroke=\"black\"/>\n";
  double legendY = 40;
  for (const Series& s : series) {
    out << Polyline(s, maxValue, count);
    out << "<text x=\"" << kWidth - 220 << "\" y=\"" << legendY << "\" fill=\"" << s.colour
        << "\" font-family=\"sans-serif\" font-size=\"12\">" << s.name << "</text>\n";
    legendY += 16;
  }
  out << "</svg>\n";
  return static_cast<bool>(out);
}

}  // namespace rc::bench
