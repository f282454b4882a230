#include "platform/wayland/wayland_overlay.h"

#include <algorithm>
#include <cstring>

#include "platform/wayland/wayland_damage.h"
#include "platform/wayland/wayland_layout.h"
#include "viewporter-client-protocol.h"
#include "platform/wayland/wayland_layer_shell.h"
#include "xdg-shell-client-protocol.h"

namespace rc {

namespace {

// Two buffers let a frame be drawn while the compositor reads the last;
// a third covers a compositor slow to give buffers back.
constexpr size_t kMaxBuffers = 3;

}  // namespace

struct WaylandOverlay::Panel {
  WaylandOverlay* owner = nullptr;
  const WaylandOutput* output = nullptr;
  Box area;  // overlay coordinates
  wl_surface* surface = nullptr;
  zwlr_layer_surface_v1* layer = nullptr;
  xdg_surface* xdgSurface = nullptr;
  xdg_toplevel* toplevel = nullptr;
  wp_viewport* viewport = nullptr;
  bool configured = false;
  bool shown = false;
  Size logical;
  std::vector<std::unique_ptr<WaylandShmBuffer>> buffers;
  std::vector<DamageList> stale;  // per buffer: panel pixels it does not hold yet
  DamageList damage;              // panel pixels changed since the last commit
  wl_callback* frame = nullptr;
};

namespace {

using Panel = WaylandOverlay::Panel;

void OnLayerConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width, uint32_t height) {
  auto* p = static_cast<Panel*>(data);
  p->owner->Configure(*p, serial, {static_cast<int32_t>(width), static_cast<int32_t>(height)});
}

// The output went away; its panel stays unshown.
void OnLayerClosed(void* data, zwlr_layer_surface_v1*) { static_cast<Panel*>(data)->configured = false; }

const zwlr_layer_surface_v1_listener kLayerListener = {OnLayerConfigure, OnLayerClosed};

void OnXdgSurfaceConfigure(void* data, xdg_surface*, uint32_t serial) {
  auto* p = static_cast<Panel*>(data);
  p->owner->Configure(*p, serial, p->logical);
}

const xdg_surface_listener kXdgSurfaceListener = {OnXdgSurfaceConfigure};

void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
  auto* p = static_cast<Panel*>(data);
  if (width > 0 && height > 0) p->logical = {width, height};
}

void OnToplevelClose(void*, xdg_toplevel*) {}

const xdg_toplevel_listener kToplevelListener = {OnToplevelConfigure, OnToplevelClose};

void OnFrameDone(void* data, wl_callback*, uint32_t) {
  auto* p = static_cast<Panel*>(data);
  p->owner->FrameDone(*p);
}

const wl_callback_listener kFrameListener = {OnFrameDone};

Box Shifted(const Box& b, int32_t dx, int32_t dy) { return {b.x + dx, b.y + dy, b.width, b.height}; }

}  // namespace

WaylandOverlay::WaylandOverlay(WaylandDisplay& display, bool layerShell) : display_(display), layerShell_(layerShell) {}

WaylandOverlay::~WaylandOverlay() { Destroy(); }

HostResult WaylandOverlay::Create() {
  const WaylandGlobals& g = display_.Globals();
  if (layerShell_ && g.layerShell == nullptr) return HostResult::Fail("Wayland: the compositor offers no zwlr_layer_shell_v1");
  if (!layerShell_ && g.wmBase == nullptr) return HostResult::Fail("Wayland: the compositor offers no xdg_wm_base");
  const Box desktop = display_.DesktopRect();
  for (const auto& o : display_.Outputs()) CreatePanel(*o, {desktop.x, desktop.y});
  wl_display_flush(display_.Display());
  return HostResult::Ok();
}

void WaylandOverlay::CreatePanel(const WaylandOutput& output, Point origin) {
  auto p = std::make_unique<Panel>();
  p->owner = this;
  p->output = &output;
  p->area = Shifted(output.desktop, -origin.x, -origin.y);
  p->logical = {output.logical.width, output.logical.height};
  p->surface = wl_compositor_create_surface(display_.Globals().compositor);
  // The output's pixels 1:1: the viewport maps them onto the logical size
  // at any scale, fractional too; without it the integer scale does.
  if (display_.Globals().viewporter != nullptr) {
    p->viewport = wp_viewporter_get_viewport(display_.Globals().viewporter, p->surface);
  } else {
    wl_surface_set_buffer_scale(p->surface, std::max(1, output.scale));
  }
  wl_region* opaque = wl_compositor_create_region(display_.Globals().compositor);
  wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
  wl_surface_set_opaque_region(p->surface, opaque);
  wl_region_destroy(opaque);
  if (layerShell_) CreateLayerSurface(*p);
  else CreateToplevel(*p);
  wl_surface_commit(p->surface);
  panels_.push_back(std::move(p));
}

void WaylandOverlay::CreateLayerSurface(Panel& p) {
  p.layer = zwlr_layer_shell_v1_get_layer_surface(display_.Globals().layerShell, p.surface, p.output->output,
                                                  ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "regioncap");
  zwlr_layer_surface_v1_add_listener(p.layer, &kLayerListener, &p);
  zwlr_layer_surface_v1_set_anchor(p.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  zwlr_layer_surface_v1_set_exclusive_zone(p.layer, -1);
  zwlr_layer_surface_v1_set_keyboard_interactivity(p.layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
}

void WaylandOverlay::CreateToplevel(Panel& p) {
  p.xdgSurface = xdg_wm_base_get_xdg_surface(display_.Globals().wmBase, p.surface);
  xdg_surface_add_listener(p.xdgSurface, &kXdgSurfaceListener, &p);
  p.toplevel = xdg_surface_get_toplevel(p.xdgSurface);
  xdg_toplevel_add_listener(p.toplevel, &kToplevelListener, &p);
  xdg_toplevel_set_title(p.toplevel, "regioncap");
  xdg_toplevel_set_app_id(p.toplevel, "regioncap");
  xdg_toplevel_set_fullscreen(p.toplevel, p.output->output);
}

void WaylandOverlay::Configure(Panel& p, uint32_t serial, Size logical) {
  if (p.layer != nullptr) zwlr_layer_surface_v1_ack_configure(p.layer, serial);
  if (p.xdgSurface != nullptr) xdg_surface_ack_configure(p.xdgSurface, serial);
  if (logical.width > 0 && logical.height > 0) p.logical = logical;
  if (p.viewport != nullptr) wp_viewport_set_destination(p.viewport, p.logical.width, p.logical.height);
  const bool first = !p.configured;
  p.configured = true;
  if (first || !p.damage.Empty()) Flush(p);
  // A configure must be answered by a commit even when nothing changed.
  if (p.shown && p.frame == nullptr) wl_surface_commit(p.surface);
}

void WaylandOverlay::Present(std::shared_ptr<const OverlayPixels> source, std::span<const Box> damaged) {
  source_ = source;
  for (auto& p : panels_) {
    DamageList local;
    for (const Box& box : damaged) local.Add(Shifted(IntersectBox(box, p->area), -p->area.x, -p->area.y));
    if (local.Empty()) continue;
    p->damage.Add(local);
    for (DamageList& s : p->stale) s.Add(local);
    Flush(*p);
  }
  wl_display_flush(display_.Display());
}

bool WaylandOverlay::Shown() const {
  for (const auto& p : panels_)
    if (!p->shown) return false;
  return !panels_.empty();
}

WaylandShmBuffer* WaylandOverlay::FreeBuffer(Panel& p) {
  for (auto& b : p.buffers)
    if (!b->Busy()) return b.get();
  if (p.buffers.size() >= kMaxBuffers) return nullptr;
  std::string error;
  const Size size{p.area.width, p.area.height};
  auto buffer = WaylandShmBuffer::Create(display_.Globals().shm, size, size.width * 4, WL_SHM_FORMAT_XRGB8888, error);
  if (buffer == nullptr) return nullptr;
  buffer->OnRelease([this, panel = &p] {
    if (!panel->damage.Empty() && panel->frame == nullptr) Flush(*panel);
  });
  p.buffers.push_back(std::move(buffer));
  p.stale.emplace_back();
  p.stale.back().Add({0, 0, size.width, size.height});
  return p.buffers.back().get();
}

void WaylandOverlay::CopyStale(Panel& p, size_t index, const OverlayPixels& source) {
  WaylandShmBuffer& b = *p.buffers[index];
  for (const Box& stale : p.stale[index].Boxes()) {
    const Box box = IntersectBox(stale, {0, 0, p.area.width, p.area.height});
    for (int32_t y = box.y; y < box.Bottom(); ++y) {
      const Pixel* from = source.pixels + static_cast<size_t>(p.area.y + y) * source.width + p.area.x + box.x;
      std::memcpy(b.Row(y) + box.x, from, static_cast<size_t>(box.width) * sizeof(Pixel));
    }
  }
  p.stale[index].Clear();
}

// Sends the panel's collected damage as one frame, once the compositor
// wants one and a buffer is free; otherwise the damage waits.
void WaylandOverlay::Flush(Panel& p) {
  if (!p.configured || p.frame != nullptr || p.damage.Empty()) return;
  const std::shared_ptr<const OverlayPixels> source = source_.lock();
  if (source == nullptr || source->width < p.area.Right() || source->height < p.area.Bottom()) return;
  WaylandShmBuffer* buffer = FreeBuffer(p);
  if (buffer == nullptr) return;
  size_t index = 0;
  while (p.buffers[index].get() != buffer) ++index;
  CopyStale(p, index, *source);
  wl_surface_attach(p.surface, buffer->Buffer(), 0, 0);
  for (const Box& d : p.damage.Boxes()) wl_surface_damage_buffer(p.surface, d.x, d.y, d.width, d.height);
  p.damage.Clear();
  p.frame = wl_surface_frame(p.surface);
  wl_callback_add_listener(p.frame, &kFrameListener, &p);
  wl_surface_commit(p.surface);
  buffer->MarkBusy();
  p.shown = true;
}

void WaylandOverlay::FrameDone(Panel& p) {
  if (p.frame != nullptr) wl_callback_destroy(p.frame);
  p.frame = nullptr;
  Flush(p);
  wl_display_flush(display_.Display());
}

std::optional<Point> WaylandOverlay::DesktopPoint(wl_surface* surface, double sx, double sy) const {
  for (const auto& p : panels_)
    if (p->surface == surface)
      return OutputPointToDesktop({0, 0, p->logical.width, p->logical.height}, p->output->desktop, sx, sy);
  return std::nullopt;
}

std::optional<Box> WaylandOverlay::SurfaceBox(wl_surface* surface, const Box& desktop) const {
  for (const auto& p : panels_)
    if (p->surface == surface) return DesktopBoxToOutput({0, 0, p->logical.width, p->logical.height}, p->output->desktop, desktop);
  return std::nullopt;
}

// A dialog opened above the overlay must get the keyboard and be seen: the
// layer surfaces step down to the bottom layer and let the keyboard go.
// A fullscreen toplevel has no layer to step to: compositors keep it above
// other windows (and sway would tile the dialog beside a window that leaves
// fullscreen), so it is unmapped until the dialog is gone.
void WaylandOverlay::StepDown() {
  for (auto& p : panels_) {
    if (p->toplevel != nullptr) Unmap(*p);
    if (p->layer == nullptr) continue;
    if (display_.Globals().layerShellVersion >= 2) zwlr_layer_surface_v1_set_layer(p->layer, ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM);
    zwlr_layer_surface_v1_set_keyboard_interactivity(p->layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(p->surface);
  }
  display_.Roundtrip();
}

void WaylandOverlay::StepUp() {
  for (auto& p : panels_) {
    if (p->layer == nullptr && p->toplevel == nullptr) Remap(*p);
    if (p->layer == nullptr) continue;
    if (display_.Globals().layerShellVersion >= 2) zwlr_layer_surface_v1_set_layer(p->layer, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY);
    zwlr_layer_surface_v1_set_keyboard_interactivity(p->layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    wl_surface_commit(p->surface);
  }
  display_.Roundtrip();
}

// A frame callback of an unmapped surface may never come, so it is
// dropped; the roles go first, then the buffer, as xdg-shell wants.
void WaylandOverlay::Unmap(Panel& p) {
  if (p.frame != nullptr) wl_callback_destroy(p.frame);
  p.frame = nullptr;
  xdg_toplevel_destroy(p.toplevel);
  xdg_surface_destroy(p.xdgSurface);
  p.toplevel = nullptr;
  p.xdgSurface = nullptr;
  wl_surface_attach(p.surface, nullptr, 0, 0);
  wl_surface_commit(p.surface);
  p.configured = false;
}

// A new toplevel on the same surface; its first configure shows the whole
// panel again.
void WaylandOverlay::Remap(Panel& p) {
  CreateToplevel(p);
  p.damage.Add({0, 0, p.area.width, p.area.height});
  wl_surface_commit(p.surface);
}

void WaylandOverlay::Destroy() {
  if (display_.Display() == nullptr) {
    panels_.clear();
    return;
  }
  for (auto& p : panels_) {
    if (p->frame != nullptr) wl_callback_destroy(p->frame);
    if (p->viewport != nullptr) wp_viewport_destroy(p->viewport);
    if (p->layer != nullptr) zwlr_layer_surface_v1_destroy(p->layer);
    if (p->toplevel != nullptr) xdg_toplevel_destroy(p->toplevel);
    if (p->xdgSurface != nullptr) xdg_surface_destroy(p->xdgSurface);
    wl_surface_destroy(p->surface);
  }
  panels_.clear();
  wl_display_flush(display_.Display());
}

}  // namespace rc
