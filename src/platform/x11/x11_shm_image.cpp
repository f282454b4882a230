#include "platform/x11/x11_shm_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace rc {

std::shared_ptr<X11ShmImage> X11ShmImage::Create(X11Display& display, Size size) {
  if (!display.HasShm() || size.width <= 0 || size.height <= 0) return nullptr;
  std::shared_ptr<X11ShmImage> image(new X11ShmImage(display));
  if (!image->Attach(size)) return nullptr;
  return image;
}

bool X11ShmImage::Attach(Size size) {
  Display* dpy = display_.Dpy();
  info_.shmid = -1;
  info_.shmaddr = reinterpret_cast<char*>(-1);
  image_ = XShmCreateImage(dpy, display_.ScreenVisual(), display_.Depth(), ZPixmap, nullptr, &info_,
                           size.width, size.height);
  // A canvas has no row padding, so the image must have none either.
  if (image_ == nullptr || image_->bytes_per_line != size.width * 4) return false;
  info_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * size.height, IPC_CREAT | 0600);
  if (info_.shmid < 0) return false;
  info_.shmaddr = image_->data = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
  if (info_.shmaddr == reinterpret_cast<char*>(-1)) return false;
  info_.readOnly = False;
  X11ErrorTrap trap(dpy);
  attached_ = XShmAttach(dpy, &info_) == True && !trap.Failed();
  // Marked for removal now, the segment goes away with its last user even
  // if this process dies.
  shmctl(info_.shmid, IPC_RMID, nullptr);
  return attached_;
}

X11ShmImage::~X11ShmImage() {
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

bool X11ShmImage::Put(Drawable target, GC gc, const Box& box) {
  const bool sent = Send(target, gc, box);
  XSync(display_.Dpy(), False);
  return sent;
}

bool X11ShmImage::Send(Drawable target, GC gc, const Box& box) {
  return XShmPutImage(display_.Dpy(), target, gc, image_, box.x, box.y, box.x, box.y, box.width, box.height, False);
}

bool X11ShmImage::Get(Drawable source) {
  return XShmGetImage(display_.Dpy(), source, image_, 0, 0, AllPlanes) == True;
}

}  // namespace rc
