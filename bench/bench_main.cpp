// regioncap-bench: replays a scripted capture on the headless host on each
// desktop layout (1920 x 1080, 3840 x 2160, and a 4K monitor at scale 2
// beside a 1080p one) with both compositors and prints one JSON object.
// Each session runs in its own process so its peak memory is its own.
// `--layout NAME` replays on that layout only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_platform.h"
#include "latency_chart.h"
#include "scripted_session.h"

namespace rc::bench {
namespace {

struct Summary {
  double median = 0;
  double p99 = 0;
  double max = 0;
};

Summary Summarise(std::vector<double> v) {
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  const auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5))]; };
  return {at(0.5), at(0.99), v.back()};
}

// The literal compositor recomposes the whole screen per message, so its
// brush stroke is shorter: the per-message cost is what is compared.
constexpr int kFastBrushPoints = 5000;
constexpr int kLiteralBrushPoints = 300;

// Child side: one session, printed as plain numbers on stdout, then its
// phases as name, first and end message.
int RunChild(const std::string& layoutName, const std::string& kind) {
  const Layout* layout = FindLayout(layoutName);
  if (layout == nullptr) return 2;
  const bool fast = kind == "fast";
  const SessionResult r = RunScriptedSession(*layout, fast ? Compositor::Fast : Compositor::Literal,
                                             fast ? kFastBrushPoints : kLiteralBrushPoints);
  std::printf("%f %f %f %f %zu", r.firstFrameMs, r.finishMs, r.pixelsPresentedPerMessage, r.peakRssMiB,
              r.messageMs.size());
  for (double ms : r.messageMs) std::printf(" %f", ms);
  std::printf(" %zu", r.messageCpuMs.size());
  for (double ms : r.messageCpuMs) std::printf(" %f", ms);
  std::printf(" %zu", r.phases.size());
  for (const Phase& p : r.phases) std::printf(" %s %zu %zu", p.name.c_str(), p.first, p.end);
  std::printf("\n");
  return 0;
}

bool ReadPhases(FILE* pipe, SessionResult& r) {
  size_t count = 0;
  if (std::fscanf(pipe, "%zu", &count) != 1) return false;
  for (size_t i = 0; i < count; ++i) {
    char name[64] = {};
    Phase p;
    if (std::fscanf(pipe, "%63s %zu %zu", name, &p.first, &p.end) != 3 || p.end > r.messageMs.size()) return false;
    p.name = name;
    r.phases.push_back(p);
  }
  return true;
}

bool ReadTimes(FILE* pipe, std::vector<double>& times) {
  size_t count = 0;
  if (std::fscanf(pipe, "%zu", &count) != 1) return false;
  for (size_t i = 0; i < count; ++i) {
    double ms = 0;
    if (std::fscanf(pipe, "%lf", &ms) != 1) return false;
    times.push_back(ms);
  }
  return true;
}

bool RunInChild(const Layout& layout, const char* kind, SessionResult& r) {
  // A session that has just ended leaves the system handing its memory back
  // for a moment, which slows the next one's start; each is measured as if
  // started on its own.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const std::string self = SelfCommand();
  if (self.empty()) return false;
  const std::string command = self + " --session " + layout.name + " " + kind;
  FILE* pipe = OpenCommandOutput(command);
  if (pipe == nullptr) return false;
  bool ok = std::fscanf(pipe, "%lf %lf %lf %lf", &r.firstFrameMs, &r.finishMs, &r.pixelsPresentedPerMessage,
                        &r.peakRssMiB) == 4;
  ok = ok && ReadTimes(pipe, r.messageMs) && ReadTimes(pipe, r.messageCpuMs);
  ok = ok && ReadPhases(pipe, r);
  return CloseCommandOutput(pipe) && ok;
}

double Ratio(double literal, double fast) { return fast > 0 ? literal / fast : 0; }

// The stretch of `times` (one per message of `r`) that the phase `name` spans.
std::vector<double> PhaseOf(const SessionResult& r, const std::vector<double>& times, const std::string& name) {
  for (const Phase& p : r.phases) {
    if (p.name != name || p.end > times.size()) continue;
    return {times.begin() + static_cast<std::ptrdiff_t>(p.first), times.begin() + static_cast<std::ptrdiff_t>(p.end)};
  }
  return {};
}

// Wall-clock times, then CPU times where the platform measures them.
std::string Json(const SessionResult& r) {
  const Summary wall = Summarise(r.messageMs);
  std::ostringstream out;
  out << "{\"median_ms\": " << wall.median << ", \"p99_ms\": " << wall.p99 << ", \"max_ms\": " << wall.max;
  if (!r.messageCpuMs.empty()) {
    const Summary cpu = Summarise(r.messageCpuMs);
    out << ", \"cpu_median_ms\": " << cpu.median << ", \"cpu_p99_ms\": " << cpu.p99 << ", \"cpu_max_ms\": " << cpu.max;
  }
  out << ", \"pixels_presented_per_message\": " << r.pixelsPresentedPerMessage << "}";
  return out.str();
}

std::string ToolJson(const SessionResult& fast, const SessionResult& literal, const std::string& name) {
  const Summary f = Summarise(PhaseOf(fast, fast.messageMs, name));
  const Summary l = Summarise(PhaseOf(literal, literal.messageMs, name));
  std::ostringstream out;
  out << "{\"messages\": " << PhaseOf(fast, fast.messageMs, name).size() << ", \"fast_p99_ms\": " << f.p99
      << ", \"fast_max_ms\": " << f.max << ", \"literal_p99_ms\": " << l.p99 << ", \"ratio_p99\": " << Ratio(l.p99, f.p99);
  if (!fast.messageCpuMs.empty() && !literal.messageCpuMs.empty()) {
    const Summary fc = Summarise(PhaseOf(fast, fast.messageCpuMs, name));
    const Summary lc = Summarise(PhaseOf(literal, literal.messageCpuMs, name));
    out << ", \"fast_cpu_p99_ms\": " << fc.p99 << ", \"fast_cpu_max_ms\": " << fc.max
        << ", \"literal_cpu_p99_ms\": " << lc.p99 << ", \"ratio_cpu_p99\": " << Ratio(lc.p99, fc.p99);
  }
  return out.str() + "}";
}

// Each edit tool's messages on their own, both compositors.
std::string ToolsJson(const SessionResult& fast, const SessionResult& literal) {
  std::ostringstream out;
  out << "{";
  for (size_t i = 0; i < fast.phases.size(); ++i) {
    const std::string& name = fast.phases[i].name;
    out << (i ? ", " : "") << "\"" << name << "\": " << ToolJson(fast, literal, name);
  }
  return out.str() + "}";
}

std::string MonitorsJson(const Layout& layout) {
  std::ostringstream out;
  out << "[";
  for (size_t i = 0; i < layout.monitors.size(); ++i) {
    const Monitor& m = layout.monitors[i];
    out << (i ? ", " : "") << "{\"x\": " << m.rect.x << ", \"y\": " << m.rect.y << ", \"width\": " << m.rect.width
        << ", \"height\": " << m.rect.height << ", \"scale\": " << m.scale << "}";
  }
  return out.str() + "]";
}

std::string LayoutJson(const Layout& layout) {
  SessionResult fast, literal;
  if (!RunInChild(layout, "fast", fast) || !RunInChild(layout, "literal", literal)) {
    std::fprintf(stderr, "regioncap-bench: a session on %s failed\n", layout.name.c_str());
    std::exit(1);
  }
  const Summary f = Summarise(fast.messageMs);
  const Summary l = Summarise(literal.messageMs);
  WriteLatencyChart("regioncap-bench-" + layout.name + ".svg", "per-message latency on " + layout.name,
                    {{"fast", "#1f77b4", fast.messageMs}, {"literal", "#d62728", literal.messageMs}});
  std::ostringstream out;
  out << "{\"layout\": \"" << layout.name << "\", \"width\": " << layout.desktop.width << ", \"height\": "
      << layout.desktop.height << ", \"monitors\": " << MonitorsJson(layout) << ", \"fast\": " << Json(fast)
      << ", \"literal\": " << Json(literal) << ", \"ratio_p99\": " << Ratio(l.p99, f.p99);
  if (!fast.messageCpuMs.empty() && !literal.messageCpuMs.empty()) {
    out << ", \"ratio_cpu_p99\": " << Ratio(Summarise(literal.messageCpuMs).p99, Summarise(fast.messageCpuMs).p99);
  }
  out << ", \"first_frame_ms\": " << fast.firstFrameMs
      << ", \"first_message_ms\": " << (fast.messageMs.empty() ? 0 : fast.messageMs.front())
      << ", \"finish_ms\": " << fast.finishMs << ", \"peak_rss_mib\": " << fast.peakRssMiB
      << ", \"tools\": " << ToolsJson(fast, literal) << "}";
  return out.str();
}

}  // namespace
}  // namespace rc::bench

int main(int argc, char** argv) {
  using namespace rc::bench;
  if (argc == 4 && std::string(argv[1]) == "--session") return RunChild(argv[2], argv[3]);
  const std::string only = argc == 3 && std::string(argv[1]) == "--layout" ? argv[2] : "";
  if ((argc != 1 && only.empty()) || (!only.empty() && FindLayout(only) == nullptr)) {
    std::fprintf(stderr, "usage: regioncap-bench [--layout NAME]\n");
    return 2;
  }
  std::string screens;
  for (const Layout& layout : BenchLayouts()) {
    if (!only.empty() && layout.name != only) continue;
    screens += (screens.empty() ? "" : ", ") + LayoutJson(layout);
  }
  std::printf("{\"screens\": [%s]}\n", screens.c_str());
  return 0;
}
