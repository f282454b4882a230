// A wl_shm buffer in an anonymous memory file: the program writes its
// pixels, the compositor reads them. `Busy` while the compositor holds it.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gfx/geometry.h"

namespace rc {

class WaylandShmBuffer {
 public:
  // nullptr with `error` set when memory or the compositor refuses.
  static std::unique_ptr<WaylandShmBuffer> Create(wl_shm* shm, Size size, int32_t stride, uint32_t format,
                                                  std::string& error);
  ~WaylandShmBuffer();
  WaylandShmBuffer(const WaylandShmBuffer&) = delete;
  WaylandShmBuffer& operator=(const WaylandShmBuffer&) = delete;

  wl_buffer* Buffer() const { return buffer_; }
  uint8_t* Bytes() const { return static_cast<uint8_t*>(memory_); }
  uint32_t* Row(int32_t y) const { return reinterpret_cast<uint32_t*>(Bytes() + static_cast<size_t>(stride_) * y); }
  Size Dimensions() const { return size_; }
  int32_t Stride() const { return stride_; }
  bool Busy() const { return busy_; }
  // Attached and committed: the compositor holds it until it releases it.
  void MarkBusy() { busy_ = true; }
  void MarkReleased() {
    busy_ = false;
    if (onRelease_) onRelease_();
  }
  // Called each time the compositor gives the buffer back.
  void OnRelease(std::function<void()> callback) { onRelease_ = std::move(callback); }

 private:
  WaylandShmBuffer() = default;

  void* memory_ = nullptr;
  size_t bytes_ = 0;
  wl_buffer* buffer_ = nullptr;
  Size size_;
  int32_t stride_ = 0;
  bool busy_ = false;
  std::function<void()> onRelease_;
};

}  // namespace rc
