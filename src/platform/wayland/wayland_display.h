// The connection to a Wayland compositor: the globals regioncap uses and
// the outputs with their logical layout (xdg-output) and physical pixels.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/geometry.h"

struct zxdg_output_v1;
struct zxdg_output_manager_v1;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zwlr_screencopy_manager_v1;
struct zwlr_data_control_manager_v1;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zwp_text_input_manager_v3;

namespace rc {

struct WaylandGlobals {
  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  wl_seat* seat = nullptr;
  wl_data_device_manager* dataDeviceManager = nullptr;
  xdg_wm_base* wmBase = nullptr;
  zxdg_output_manager_v1* outputManager = nullptr;
  zwlr_layer_shell_v1* layerShell = nullptr;
  uint32_t layerShellVersion = 0;
  zwlr_screencopy_manager_v1* screencopy = nullptr;
  uint32_t screencopyVersion = 0;
  zwlr_data_control_manager_v1* dataControl = nullptr;
  wp_viewporter* viewporter = nullptr;
  wp_fractional_scale_manager_v1* fractionalScale = nullptr;
  zwp_text_input_manager_v3* textInput = nullptr;
};

struct WaylandOutput {
  wl_output* output = nullptr;
  zxdg_output_v1* xdgOutput = nullptr;
  uint32_t name = 0;  // the registry's
  std::string connector;
  int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
  int32_t scale = 1;  // wl_output's integer scale
  Size mode;          // current mode, before the transform
  Point position;     // wl_output.geometry's, when xdg-output is missing
  Box logical;        // xdg-output's logical position and size
  bool logicalKnown = false;
  Box desktop;        // where its pixels lie on the desktop

  // The output's size in physical pixels with the transform applied.
  Size Pixels() const;
};

class WaylandDisplay {
 public:
  // Connects and learns the globals and outputs; nullptr with `error` set.
  static std::unique_ptr<WaylandDisplay> Connect(std::string& error);
  ~WaylandDisplay();
  WaylandDisplay(const WaylandDisplay&) = delete;
  WaylandDisplay& operator=(const WaylandDisplay&) = delete;

  wl_display* Display() const { return display_; }
  const WaylandGlobals& Globals() const { return globals_; }
  const std::vector<std::unique_ptr<WaylandOutput>>& Outputs() const { return outputs_; }
  // The box holding every output, in desktop coordinates.
  Box DesktopRect() const;
  // Sends what is queued and handles every answer; false once the
  // connection is lost.
  bool Roundtrip();
  // Forgets the connection without closing it: a process that inherited
  // it now speaks on it.
  void Abandon() { display_ = nullptr; }

  // Calls `watch` with the seat's capabilities now (if known) and on
  // every change, which may come before anyone watches.
  void WatchSeat(std::function<void(uint32_t)> watch);
  void SeatCapabilities(uint32_t caps);

  // Registry callbacks (used by the listener table).
  void Announce(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
  void Remove(uint32_t name);

 private:
  WaylandDisplay() = default;
  void AddOutput(wl_registry* registry, uint32_t name, uint32_t version);
  void WatchLogicalLayout();
  void PlaceOutputs();

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  WaylandGlobals globals_;
  std::vector<std::unique_ptr<WaylandOutput>> outputs_;
  std::optional<uint32_t> seatCaps_;
  std::function<void(uint32_t)> seatWatch_;
};

}  // namespace rc
