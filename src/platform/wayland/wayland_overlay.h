// The overlay on Wayland: one surface per output, on the layer shell's
// overlay layer where offered (anchored to every edge, over panels, with
// the keyboard), else a fullscreen xdg_toplevel per output. Each shows its
// output's part of the back buffer at the output's own pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/host.h"
#include "gfx/canvas.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_shm.h"

struct zwlr_layer_surface_v1;
struct xdg_surface;
struct xdg_toplevel;
struct wp_viewport;

namespace rc {

// Pixels the overlay reads whenever a frame is due: the back buffer's
// memory, kept by the host.
struct OverlayPixels {
  const Pixel* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

class WaylandOverlay {
 public:
  struct Panel;

  WaylandOverlay(WaylandDisplay& display, bool layerShell);
  ~WaylandOverlay();
  WaylandOverlay(const WaylandOverlay&) = delete;
  WaylandOverlay& operator=(const WaylandOverlay&) = delete;

  // Makes one surface per output, committed empty: nothing shows before
  // the first frame.
  HostResult Create();
  // Shows the `damaged` boxes (overlay coordinates) of `source` as one
  // frame per output. A panel waiting for the compositor's frame callback
  // collects damage and shows the latest pixels when the callback comes,
  // so a burst of moves costs one frame.
  void Present(std::shared_ptr<const OverlayPixels> source, std::span<const Box> damaged);
  // Whether every panel has shown its first frame.
  bool Shown() const;
  // The desktop point at surface-local (sx, sy), if `surface` is a panel's.
  std::optional<Point> DesktopPoint(wl_surface* surface, double sx, double sy) const;
  // A desktop box in the surface-local coordinates of `surface`, if it is
  // a panel's.
  std::optional<Box> SurfaceBox(wl_surface* surface, const Box& desktop) const;
  // Steps below other windows without the keyboard (a dialog is open), and back.
  void StepDown();
  void StepUp();
  // Takes every surface off the screen.
  void Destroy();

  // Listener entry points.
  void Configure(Panel& panel, uint32_t serial, Size logical);
  void FrameDone(Panel& panel);
  void Flush(Panel& panel);

 private:
  void CreatePanel(const WaylandOutput& output, Point origin);
  void CreateLayerSurface(Panel& panel);
  void CreateToplevel(Panel& panel);
  void Unmap(Panel& panel);
  void Remap(Panel& panel);
  WaylandShmBuffer* FreeBuffer(Panel& panel);
  void CopyStale(Panel& panel, size_t buffer, const OverlayPixels& source);

  WaylandDisplay& display_;
  bool layerShell_;
  std::vector<std::unique_ptr<Panel>> panels_;
  std::weak_ptr<const OverlayPixels> source_;
};

}  // namespace rc
