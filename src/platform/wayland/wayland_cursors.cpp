#include "platform/wayland/wayland_cursors.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/cursor_file.h"

namespace rc {

namespace {

constexpr int kDefaultCursorSize = 24;

// Theme names for each shape, freedesktop's first, then the X core names
// that older themes and libwayland-cursor's built-in set carry.
std::vector<const char*> NamesFor(StandardCursor shape) {
  switch (shape) {
    case StandardCursor::SizeAll: return {"move", "fleur", "all-scroll"};
    case StandardCursor::SizeNESW: return {"nesw-resize", "fd_double_arrow", "size_bdiag", "top_right_corner"};
    case StandardCursor::SizeNS: return {"ns-resize", "sb_v_double_arrow", "size_ver", "top_side"};
    case StandardCursor::SizeNWSE: return {"nwse-resize", "bd_double_arrow", "size_fdiag", "top_left_corner"};
    case StandardCursor::SizeWE: return {"ew-resize", "sb_h_double_arrow", "size_hor", "left_side"};
    default: return {"default", "left_ptr"};
  }
}

int CursorSize() {
  const char* size = std::getenv("XCURSOR_SIZE");
  const int n = size != nullptr ? std::atoi(size) : 0;
  return n > 0 && n <= 256 ? n : kDefaultCursorSize;
}

}  // namespace

WaylandCursors::WaylandCursors(WaylandDisplay& display) : display_(display) {
  theme_ = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), CursorSize(), display_.Globals().shm);
  surface_ = wl_compositor_create_surface(display_.Globals().compositor);
}

WaylandCursors::~WaylandCursors() {
  if (display_.Display() == nullptr) return;
  files_.clear();
  if (surface_ != nullptr) wl_surface_destroy(surface_);
  if (theme_ != nullptr) wl_cursor_theme_destroy(theme_);
}

WaylandCursors::Image WaylandCursors::Standard(StandardCursor shape) {
  if (theme_ == nullptr) return {};
  for (const char* name : NamesFor(shape)) {
    wl_cursor* cursor = wl_cursor_theme_get_cursor(theme_, name);
    if (cursor == nullptr || cursor->image_count == 0) continue;
    wl_cursor_image* image = cursor->images[0];
    return {wl_cursor_image_get_buffer(image),
            {static_cast<int32_t>(image->hotspot_x), static_cast<int32_t>(image->hotspot_y)},
            {static_cast<int32_t>(image->width), static_cast<int32_t>(image->height)}};
  }
  return shape == StandardCursor::Arrow ? Image{} : Standard(StandardCursor::Arrow);
}

WaylandCursors::Image WaylandCursors::FromFile(std::span<const uint8_t> bytes) {
  const uint8_t* key = bytes.data();
  if (auto it = files_.find(key); it != files_.end())
    return {it->second->Buffer(), fileHotSpots_[key], it->second->Dimensions()};
  const std::optional<CursorImage> image = ParseCursorFile(bytes);
  if (!image) return Standard(StandardCursor::Arrow);
  std::string error;
  auto buffer = WaylandShmBuffer::Create(display_.Globals().shm, {image->width, image->height}, image->width * 4,
                                         WL_SHM_FORMAT_ARGB8888, error);
  if (buffer == nullptr) return Standard(StandardCursor::Arrow);
  std::memcpy(buffer->Bytes(), image->pixels.data(), image->pixels.size() * sizeof(Pixel));
  const Image shown{buffer->Buffer(), image->hotSpot, buffer->Dimensions()};
  files_[key] = std::move(buffer);
  fileHotSpots_[key] = image->hotSpot;
  return shown;
}

void WaylandCursors::Show(wl_pointer* seatPointer, uint32_t serial, const MousePointer& pointer) {
  if (seatPointer == nullptr || surface_ == nullptr) return;
  const Image image = pointer.IsFile() ? FromFile(pointer.cursorFile) : Standard(pointer.standard);
  if (image.buffer == nullptr) return;
  wl_surface_attach(surface_, image.buffer, 0, 0);
  wl_surface_damage_buffer(surface_, 0, 0, image.size.width, image.size.height);
  wl_surface_commit(surface_);
  wl_pointer_set_cursor(seatPointer, serial, surface_, image.hotSpot.x, image.hotSpot.y);
  wl_display_flush(display_.Display());
}

}  // namespace rc
