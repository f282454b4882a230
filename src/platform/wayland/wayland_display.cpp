#include "platform/wayland/wayland_display.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fractional-scale-v1-client-protocol.h"
#include "platform/wayland/wayland_layout.h"
#include "text-input-unstable-v3-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"
#include "platform/wayland/wayland_layer_shell.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace rc {

namespace {

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t wanted) {
  return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  static_cast<WaylandDisplay*>(data)->Announce(registry, name, interface, version);
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) { static_cast<WaylandDisplay*>(data)->Remove(name); }

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }

const xdg_wm_base_listener kWmBaseListener = {OnPing};

void OnCapabilities(void* data, wl_seat*, uint32_t caps) { static_cast<WaylandDisplay*>(data)->SeatCapabilities(caps); }
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {OnCapabilities, OnSeatName};

// --- wl_output ---------------------------------------------------------
void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                int32_t transform) {
  auto* o = static_cast<WaylandOutput*>(data);
  o->position = {x, y};
  o->transform = transform;
}

void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<WaylandOutput*>(data)->mode = {width, height};
}

void OnOutputDone(void*, wl_output*) {}

void OnScale(void* data, wl_output*, int32_t factor) { static_cast<WaylandOutput*>(data)->scale = factor; }

void OnName(void* data, wl_output*, const char* name) { static_cast<WaylandOutput*>(data)->connector = name; }

void OnDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {OnGeometry, OnMode, OnOutputDone, OnScale, OnName, OnDescription};

// --- xdg-output --------------------------------------------------------
void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
  auto* o = static_cast<WaylandOutput*>(data);
  o->logical.x = x, o->logical.y = y;
}

void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  auto* o = static_cast<WaylandOutput*>(data);
  o->logical.width = width, o->logical.height = height;
  o->logicalKnown = true;
}

void OnXdgDone(void*, zxdg_output_v1*) {}

void OnXdgName(void* data, zxdg_output_v1*, const char* name) {
  auto* o = static_cast<WaylandOutput*>(data);
  if (o->connector.empty()) o->connector = name;
}

void OnXdgDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kXdgOutputListener = {OnLogicalPosition, OnLogicalSize, OnXdgDone, OnXdgName,
                                                     OnXdgDescription};

}  // namespace

Size WaylandOutput::Pixels() const {
  const bool turned = transform == WL_OUTPUT_TRANSFORM_90 || transform == WL_OUTPUT_TRANSFORM_270 ||
                      transform == WL_OUTPUT_TRANSFORM_FLIPPED_90 || transform == WL_OUTPUT_TRANSFORM_FLIPPED_270;
  return turned ? Size{mode.height, mode.width} : mode;
}

std::unique_ptr<WaylandDisplay> WaylandDisplay::Connect(std::string& error) {
  std::unique_ptr<WaylandDisplay> d(new WaylandDisplay);
  d->display_ = wl_display_connect(nullptr);
  if (d->display_ == nullptr) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    error = std::string("Wayland: cannot connect to the compositor (WAYLAND_DISPLAY=") + (name ? name : "") + ")";
    return nullptr;
  }
  d->registry_ = wl_display_get_registry(d->display_);
  wl_registry_add_listener(d->registry_, &kRegistryListener, d.get());
  // The first round trip announces the globals, the second the outputs'
  // modes and logical layout.
  if (!d->Roundtrip() || (d->WatchLogicalLayout(), !d->Roundtrip())) {
    error = "Wayland: the compositor closed the connection";
    return nullptr;
  }
  if (d->globals_.compositor == nullptr || d->globals_.shm == nullptr) {
    error = "Wayland: the compositor offers no wl_compositor or wl_shm";
    return nullptr;
  }
  if (d->outputs_.empty()) {
    error = "Wayland: the compositor shows no output";
    return nullptr;
  }
  d->PlaceOutputs();
  return d;
}

WaylandDisplay::~WaylandDisplay() {
  if (display_ != nullptr) wl_display_disconnect(display_);
}

void WaylandDisplay::Announce(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  const auto is = [interface](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
  WaylandGlobals& g = globals_;
  if (is(wl_compositor_interface)) g.compositor = Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
  else if (is(wl_shm_interface)) g.shm = Bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
  else if (is(wl_seat_interface) && g.seat == nullptr) {
    g.seat = Bind<wl_seat>(registry, name, wl_seat_interface, version, 7);
    wl_seat_add_listener(g.seat, &kSeatListener, this);
  }
  else if (is(wl_data_device_manager_interface))
    g.dataDeviceManager = Bind<wl_data_device_manager>(registry, name, wl_data_device_manager_interface, version, 3);
  else if (is(xdg_wm_base_interface)) {
    g.wmBase = Bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 2);
    xdg_wm_base_add_listener(g.wmBase, &kWmBaseListener, nullptr);
  } else if (is(zxdg_output_manager_v1_interface))
    g.outputManager = Bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 3);
  else if (is(zwlr_layer_shell_v1_interface)) {
    g.layerShellVersion = std::min(version, 4u);
    g.layerShell = Bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, 4);
  } else if (is(zwlr_screencopy_manager_v1_interface)) {
    g.screencopyVersion = std::min(version, 3u);
    g.screencopy = Bind<zwlr_screencopy_manager_v1>(registry, name, zwlr_screencopy_manager_v1_interface, version, 3);
  } else if (is(zwlr_data_control_manager_v1_interface))
    g.dataControl = Bind<zwlr_data_control_manager_v1>(registry, name, zwlr_data_control_manager_v1_interface, version, 2);
  else if (is(wp_viewporter_interface)) g.viewporter = Bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
  else if (is(wp_fractional_scale_manager_v1_interface))
    g.fractionalScale =
        Bind<wp_fractional_scale_manager_v1>(registry, name, wp_fractional_scale_manager_v1_interface, version, 1);
  else if (is(zwp_text_input_manager_v3_interface))
    g.textInput = Bind<zwp_text_input_manager_v3>(registry, name, zwp_text_input_manager_v3_interface, version, 1);
  else if (is(wl_output_interface)) AddOutput(registry, name, version);
}

void WaylandDisplay::AddOutput(wl_registry* registry, uint32_t name, uint32_t version) {
  auto o = std::make_unique<WaylandOutput>();
  o->name = name;
  o->output = Bind<wl_output>(registry, name, wl_output_interface, version, 4);
  wl_output_add_listener(o->output, &kOutputListener, o.get());
  outputs_.push_back(std::move(o));
}

// An output unplugged during a capture leaves its pixels in the snapshot;
// only its objects go.
void WaylandDisplay::Remove(uint32_t name) {
  for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
    if ((*it)->name != name) continue;
    if ((*it)->xdgOutput != nullptr) zxdg_output_v1_destroy((*it)->xdgOutput);
    wl_output_destroy((*it)->output);
    outputs_.erase(it);
    return;
  }
}

void WaylandDisplay::WatchLogicalLayout() {
  if (globals_.outputManager == nullptr) return;
  for (auto& o : outputs_) {
    o->xdgOutput = zxdg_output_manager_v1_get_xdg_output(globals_.outputManager, o->output);
    zxdg_output_v1_add_listener(o->xdgOutput, &kXdgOutputListener, o.get());
  }
}

// Without xdg-output the logical layout is wl_output's position and the
// pixels divided by the integer scale.
void WaylandDisplay::PlaceOutputs() {
  std::vector<OutputPlacement> placements;
  for (auto& o : outputs_) {
    const Size pixels = o->Pixels();
    if (!o->logicalKnown) {
      const int32_t s = std::max(1, o->scale);
      o->logical = {o->position.x, o->position.y, pixels.width / s, pixels.height / s};
    }
    placements.push_back({o->logical, pixels});
  }
  const std::vector<Box> boxes = PhysicalLayout(placements);
  for (size_t i = 0; i < outputs_.size(); ++i) outputs_[i]->desktop = boxes[i];
}

Box WaylandDisplay::DesktopRect() const {
  Box box;
  for (const auto& o : outputs_) box = UnionBox(box, o->desktop);
  return box;
}

void WaylandDisplay::WatchSeat(std::function<void(uint32_t)> watch) {
  seatWatch_ = std::move(watch);
  if (seatCaps_ && seatWatch_) seatWatch_(*seatCaps_);
}

void WaylandDisplay::SeatCapabilities(uint32_t caps) {
  seatCaps_ = caps;
  if (seatWatch_) seatWatch_(caps);
}

bool WaylandDisplay::Roundtrip() { return display_ != nullptr && wl_display_roundtrip(display_) >= 0; }

}  // namespace rc
