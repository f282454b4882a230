// Pointer shapes over the overlay: the user's cursor theme (XCURSOR_THEME,
// XCURSOR_SIZE) for the standard ones, our own picture for cursor files.
// Each shape is made once per run.
#pragma once

#include <wayland-client.h>
#include <wayland-cursor.h>

#include <map>
#include <memory>

#include "app/host.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_shm.h"

namespace rc {

class WaylandCursors {
 public:
  explicit WaylandCursors(WaylandDisplay& display);
  ~WaylandCursors();
  WaylandCursors(const WaylandCursors&) = delete;
  WaylandCursors& operator=(const WaylandCursors&) = delete;

  // Shows `pointer` on the seat's pointer, which entered with `serial`.
  void Show(wl_pointer* seatPointer, uint32_t serial, const MousePointer& pointer);

 private:
  struct Image {
    wl_buffer* buffer = nullptr;
    Point hotSpot;
    Size size;
  };
  Image Standard(StandardCursor shape);
  Image FromFile(std::span<const uint8_t> bytes);

  WaylandDisplay& display_;
  wl_cursor_theme* theme_ = nullptr;
  wl_surface* surface_ = nullptr;
  std::map<const uint8_t*, std::unique_ptr<WaylandShmBuffer>> files_;
  std::map<const uint8_t*, Point> fileHotSpots_;
};

}  // namespace rc
