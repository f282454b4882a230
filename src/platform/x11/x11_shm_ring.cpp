#include "platform/x11/x11_shm_ring.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace rc {

std::unique_ptr<X11ShmRing> X11ShmRing::Create(X11Display& display, size_t bytes) {
  if (!display.HasShm() || !display.Format().matchesCanvas || bytes < sizeof(Pixel)) return nullptr;
  std::unique_ptr<X11ShmRing> ring(new X11ShmRing(display));
  if (!ring->Attach(bytes)) return nullptr;
  return ring;
}

bool X11ShmRing::Attach(size_t bytes) {
  Display* dpy = display_.Dpy();
  info_.shmid = -1;
  info_.shmaddr = reinterpret_cast<char*>(-1);
  image_ = XShmCreateImage(dpy, display_.ScreenVisual(), display_.Depth(), ZPixmap, nullptr, &info_, 1, 1);
  if (image_ == nullptr || image_->bits_per_pixel != 32) return false;
  info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (info_.shmid < 0) return false;
  info_.shmaddr = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
  if (info_.shmaddr == reinterpret_cast<char*>(-1)) return false;
  info_.readOnly = False;
  X11ErrorTrap trap(dpy);
  attached_ = XShmAttach(dpy, &info_) == True && !trap.Failed();
  // Marked for removal now, the segment goes away with its last user even
  // if this process dies.
  shmctl(info_.shmid, IPC_RMID, nullptr);
  bytes_ = bytes;
  return attached_;
}

X11ShmRing::~X11ShmRing() {
  if (attached_ && display_.IsOpen()) {
    XShmDetach(display_.Dpy(), &info_);
    XSync(display_.Dpy(), False);
  }
  if (image_ != nullptr) {
    // XDestroyImage would free both through malloc's free; they are not ours to free.
    image_->data = nullptr;
    image_->obdata = nullptr;
    XDestroyImage(image_);
  }
  if (info_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(info_.shmaddr);
  if (info_.shmid >= 0 && !attached_) shmctl(info_.shmid, IPC_RMID, nullptr);
}

int32_t X11ShmRing::BandRows(int32_t width, size_t share) const {
  const size_t row = static_cast<size_t>(width) * sizeof(Pixel);
  return static_cast<int32_t>(std::max<size_t>(1, bytes_ / share / row));
}

Pixel* X11ShmRing::Reserve(int32_t width, int32_t rows) {
  const size_t need = static_cast<size_t>(width) * rows * sizeof(Pixel);
  if (need > bytes_) return nullptr;
  if (used_ + need > bytes_) {
    XSync(display_.Dpy(), False);
    used_ = 0;
  }
  auto* at = reinterpret_cast<Pixel*>(info_.shmaddr + used_);
  used_ += need;
  return at;
}

XImage* X11ShmRing::Describe(Pixel* data, int32_t width, int32_t rows) {
  image_->data = reinterpret_cast<char*>(data);
  image_->width = width;
  image_->height = rows;
  image_->bytes_per_line = width * static_cast<int>(sizeof(Pixel));
  return image_;
}

bool X11ShmRing::Put(Drawable target, GC gc, const Canvas& source, const Box& part, Point at) {
  const Box box = IntersectBox(part, source.Bounds());
  if (box.Empty()) return true;
  const Box area{at.x + box.x - part.x, at.y + box.y - part.y, box.width, box.height};
  const size_t rowBytes = static_cast<size_t>(box.width) * sizeof(Pixel);
  return PutPainted(target, gc, area, [&](Canvas& band, const Box& rows) {
    for (int32_t y = 0; y < rows.height; ++y)
      std::memcpy(band.Row(y), source.Row(box.y + rows.y - area.y + y) + box.x, rowBytes);
  });
}

bool X11ShmRing::PutPainted(Drawable target, GC gc, const Box& area, const PresentTarget::PaintRows& paint) {
  const int32_t band = std::min(area.height, BandRows(area.width, 4));
  bool ok = true;
  for (int32_t top = area.y; top < area.Bottom(); top += band) {
    const Box rows{area.x, top, area.width, std::min(band, area.Bottom() - top)};
    Pixel* data = Reserve(rows.width, rows.height);
    if (data == nullptr) return false;
    Canvas view;
    view.AdoptContents(data, rows.width, rows.height, [](Pixel*) {});
    paint(view, rows);
    ok = XShmPutImage(display_.Dpy(), target, gc, Describe(data, rows.width, rows.height), 0, 0, rows.x, rows.y,
                      rows.width, rows.height, False) &&
         ok;
  }
  return ok;
}

// Each read is answered before the next is asked for, so once a band is
// handed over the server is done with the whole ring. A refused read is
// answered with its error in place of the image, so one trap round all the
// bands learns of it without a round trip of its own for each.
bool X11ShmRing::Get(Drawable source, const Box& box, const RowSink& sink) {
  if (box.Empty()) return true;
  const int32_t band = std::min(box.height, BandRows(box.width, 1));
  X11ErrorTrap trap(display_.Dpy());
  for (int32_t top = 0; top < box.height; top += band) {
    const int32_t rows = std::min(band, box.height - top);
    used_ = 0;
    Pixel* data = Reserve(box.width, rows);
    if (data == nullptr) return false;
    if (XShmGetImage(display_.Dpy(), source, Describe(data, box.width, rows), box.x, box.y + top, AllPlanes) != True)
      return false;
    for (int32_t y = 0; y < rows; ++y) sink(box.y + top + y, data + static_cast<size_t>(y) * box.width, box.width);
  }
  used_ = 0;
  return !trap.Failed();
}

bool X11ShmRing::Warm(Drawable source) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  if (XGetGeometry(display_.Dpy(), source, &root, &x, &y, &width, &height, &border, &depth) == 0) return false;
  const int32_t w = static_cast<int32_t>(width);
  const Box box{0, 0, w, std::min(static_cast<int32_t>(height), BandRows(w, 1))};
  volatile Pixel sum = 0;
  return Get(source, box, [&sum](int32_t, const Pixel* row, int32_t count) {
    for (int32_t i = 0; i < count; i += 1024 / static_cast<int32_t>(sizeof(Pixel))) sum = sum + row[i];
  });
}

}  // namespace rc
