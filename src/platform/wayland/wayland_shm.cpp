#include "platform/wayland/wayland_shm.h"

#include <sys/mman.h>
#include <unistd.h>

namespace rc {

namespace {

void OnRelease(void* data, wl_buffer*) { static_cast<WaylandShmBuffer*>(data)->MarkReleased(); }

const wl_buffer_listener kBufferListener = {OnRelease};

}  // namespace

std::unique_ptr<WaylandShmBuffer> WaylandShmBuffer::Create(wl_shm* shm, Size size, int32_t stride, uint32_t format,
                                                           std::string& error) {
  std::unique_ptr<WaylandShmBuffer> b(new WaylandShmBuffer);
  b->size_ = size;
  b->stride_ = stride;
  b->bytes_ = static_cast<size_t>(stride) * size.height;
  const int fd = memfd_create("regioncap-wayland", MFD_CLOEXEC);
  if (fd < 0 || b->bytes_ == 0 || ftruncate(fd, static_cast<off_t>(b->bytes_)) != 0) {
    if (fd >= 0) close(fd);
    error = "Wayland: no memory for a shared buffer";
    return nullptr;
  }
  b->memory_ = mmap(nullptr, b->bytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (b->memory_ == MAP_FAILED) {
    b->memory_ = nullptr;
    close(fd);
    error = "Wayland: no memory for a shared buffer";
    return nullptr;
  }
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(b->bytes_));
  b->buffer_ = wl_shm_pool_create_buffer(pool, 0, size.width, size.height, stride, format);
  wl_shm_pool_destroy(pool);
  close(fd);
  wl_buffer_add_listener(b->buffer_, &kBufferListener, b.get());
  return b;
}

WaylandShmBuffer::~WaylandShmBuffer() {
  if (buffer_ != nullptr) wl_buffer_destroy(buffer_);
  if (memory_ != nullptr) munmap(memory_, bytes_);
}

}  // namespace rc
