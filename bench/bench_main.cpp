// regioncap-bench: replays a scripted capture on the headless host at
// 1920 x 1080 and 3840 x 2160 with both compositors and prints one JSON
// object. Each session runs in its own process so its peak memory is its own.
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
int RunChild(int32_t w, int32_t h, const std::string& kind) {
  const bool fast = kind == "fast";
  const SessionResult r = RunScriptedSession(w, h, fast ? Compositor::Fast : Compositor::Literal,
                                             fast ? kFastBrushPoints : kLiteralBrushPoints);
  std::printf("%f %f %f %f %zu", r.firstFrameMs, r.finishMs, r.pixelsPresentedPerMessage, r.peakRssMiB,
              r.messageMs.size());
  for (double ms : r.messageMs) std::printf(" %f", ms);
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

bool RunInChild(int32_t w, int32_t h, const char* kind, SessionResult& r) {
  // A session that has just ended leaves the system handing its memory back
  // for a moment, which slows the next one's start; each is measured as if
  // started on its own.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const std::string self = SelfCommand();
  if (self.empty()) return false;
  const std::string command = self + " --session " + std::to_string(w) + " " + std::to_string(h) + " " + kind;
  FILE* pipe = OpenCommandOutput(command);
  if (pipe == nullptr) return false;
  size_t count = 0;
  bool ok = std::fscanf(pipe, "%lf %lf %lf %lf %zu", &r.firstFrameMs, &r.finishMs, &r.pixelsPresentedPerMessage,
                        &r.peakRssMiB, &count) == 5;
  for (size_t i = 0; ok && i < count; ++i) {
    double ms = 0;
    ok = std::fscanf(pipe, "%lf", &ms) == 1;
    r.messageMs.push_back(ms);
  }
  ok = ok && ReadPhases(pipe, r);
  return CloseCommandOutput(pipe) && ok;
}

std::string Json(const Summary& s, double pixels) {
  std::ostringstream out;
  out << "{\"median_ms\": " << s.median << ", \"p99_ms\": " << s.p99 << ", \"max_ms\": " << s.max
      << ", \"pixels_presented_per_message\": " << pixels << "}";
  return out.str();
}

std::vector<double> PhaseMs(const SessionResult& r, const std::string& name) {
  for (const Phase& p : r.phases)
    if (p.name == name) return {r.messageMs.begin() + static_cast<std::ptrdiff_t>(p.first), r.messageMs.begin() + static_cast<std::ptrdiff_t>(p.end)};
  return {};
}

// Each edit tool's messages on their own, both compositors.
std::string ToolsJson(const SessionResult& fast, const SessionResult& literal) {
  std::ostringstream out;
  out << "{";
  for (size_t i = 0; i < fast.phases.size(); ++i) {
    const std::string& name = fast.phases[i].name;
    const Summary f = Summarise(PhaseMs(fast, name));
    const Summary l = Summarise(PhaseMs(literal, name));
    out << (i ? ", " : "") << "\"" << name << "\": {\"messages\": " << PhaseMs(fast, name).size()
        << ", \"fast_p99_ms\": " << f.p99 << ", \"fast_max_ms\": " << f.max << ", \"literal_p99_ms\": " << l.p99
        << ", \"ratio_p99\": " << (f.p99 > 0 ? l.p99 / f.p99 : 0) << "}";
  }
  return out.str() + "}";
}

std::string ScreenJson(int32_t w, int32_t h) {
  SessionResult fast, literal;
  if (!RunInChild(w, h, "fast", fast) || !RunInChild(w, h, "literal", literal)) {
    std::fprintf(stderr, "regioncap-bench: a session at %dx%d failed\n", w, h);
    std::exit(1);
  }
  const Summary f = Summarise(fast.messageMs);
  const Summary l = Summarise(literal.messageMs);
  const std::string name = "regioncap-bench-" + std::to_string(w) + "x" + std::to_string(h) + ".svg";
  WriteLatencyChart(name, "per-message latency at " + std::to_string(w) + " x " + std::to_string(h),
                    {{"fast", "#1f77b4", fast.messageMs}, {"literal", "#d62728", literal.messageMs}});
  std::ostringstream out;
  out << "{\"width\": " << w << ", \"height\": " << h << ", \"fast\": " << Json(f, fast.pixelsPresentedPerMessage)
      << ", \"literal\": " << Json(l, literal.pixelsPresentedPerMessage)
      << ", \"ratio_p99\": " << (f.p99 > 0 ? l.p99 / f.p99 : 0) << ", \"first_frame_ms\": " << fast.firstFrameMs
      << ", \"finish_ms\": " << fast.finishMs << ", \"peak_rss_mib\": " << fast.peakRssMiB
      << ", \"tools\": " << ToolsJson(fast, literal) << "}";
  return out.str();
}

}  // namespace
}  // namespace rc::bench

int main(int argc, char** argv) {
  using namespace rc::bench;
  if (argc == 5 && std::string(argv[1]) == "--session") {
    return RunChild(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
  }
  std::printf("{\"screens\": [%s, %s]}\n", ScreenJson(1920, 1080).c_str(), ScreenJson(3840, 2160).c_str());
  return 0;
}
