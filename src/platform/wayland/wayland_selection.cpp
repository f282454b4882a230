#include "platform/wayland/wayland_selection.h"

#include <unistd.h>

namespace rc {

namespace {

WaylandSelection& Of(void* data) { return *static_cast<WaylandSelection*>(data); }

void OnTarget(void*, wl_data_source*, const char*) {}
void OnSend(void* data, wl_data_source*, const char* mime, int32_t fd) { Of(data).Send(mime, fd); }
void OnCancelled(void* data, wl_data_source*) { Of(data).Cancelled(); }
void OnDropPerformed(void*, wl_data_source*) {}
void OnDndFinished(void*, wl_data_source*) {}
void OnAction(void*, wl_data_source*, uint32_t) {}
const wl_data_source_listener kSourceListener = {OnTarget,        OnSend,        OnCancelled,
                                                 OnDropPerformed, OnDndFinished, OnAction};

// Offers of other clients, and drags over the overlay, are of no interest;
// their offers are let go at once.
void OnDataOffer(void*, wl_data_device*, wl_data_offer*) {}
void OnEnter(void*, wl_data_device*, uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t, wl_data_offer* offer) {
  if (offer != nullptr) wl_data_offer_destroy(offer);
}
void OnLeave(void*, wl_data_device*) {}
void OnMotion(void*, wl_data_device*, uint32_t, wl_fixed_t, wl_fixed_t) {}
void OnDrop(void*, wl_data_device*) {}
void OnSelection(void* data, wl_data_device*, wl_data_offer* offer) { Of(data).Selection(offer); }
const wl_data_device_listener kDeviceListener = {OnDataOffer, OnEnter, OnLeave, OnMotion, OnDrop, OnSelection};

}  // namespace

WaylandSelection::~WaylandSelection() {
  if (display_.Display() == nullptr) return;
  DropSource();
  if (device_ != nullptr) wl_data_device_destroy(device_);
}

// The device announces the current selection as soon as it exists (to the
// client with the keyboard); the round trip takes that announcement out of
// the way of ours.
HostResult WaylandSelection::MakeDevice() {
  if (device_ != nullptr) return HostResult::Ok();
  const WaylandGlobals& g = display_.Globals();
  if (g.dataDeviceManager == nullptr || g.seat == nullptr)
    return HostResult::Fail("Wayland: the compositor offers no wl_data_device_manager");
  device_ = wl_data_device_manager_get_data_device(g.dataDeviceManager, g.seat);
  wl_data_device_add_listener(device_, &kDeviceListener, this);
  if (!display_.Roundtrip()) return HostResult::Fail("Wayland: the compositor closed the connection");
  return HostResult::Ok();
}

void WaylandSelection::DropSource() {
  if (source_ != nullptr) wl_data_source_destroy(source_);
  source_ = nullptr;
  content_.reset();
  cancelled_ = false;
}

// NOTE: a compositor that refuses the serial says nothing (wlroots only
// logs it); the sign of success is the selection announced back to us,
// which the client with the keyboard always gets.
HostResult WaylandSelection::Offer(WaylandClipboardContent content, uint32_t serial) {
  if (const HostResult device = MakeDevice(); !device) return device;
  DropSource();
  content_.emplace(std::move(content));
  source_ = wl_data_device_manager_create_data_source(display_.Globals().dataDeviceManager);
  wl_data_source_add_listener(source_, &kSourceListener, this);
  for (const std::string& mime : content_->MimeTypes()) wl_data_source_offer(source_, mime.c_str());
  const uint32_t before = selections_;
  wl_data_device_set_selection(device_, source_, serial);
  if (!display_.Roundtrip()) return HostResult::Fail("Wayland: the compositor closed the connection");
  if (cancelled_ || selections_ == before || lastSelectionEmpty_) {
    DropSource();
    return HostResult::Fail("Wayland: the compositor did not give regioncap the clipboard");
  }
  return HostResult::Ok();
}

void WaylandSelection::Send(const char* mime, int fd) {
  if (content_) content_->Send(mime, fd);
  else close(fd);
}

void WaylandSelection::Selection(wl_data_offer* offer) {
  ++selections_;
  lastSelectionEmpty_ = offer == nullptr;
  if (offer != nullptr) wl_data_offer_destroy(offer);
}

void WaylandSelection::ServeUntilTaken() {
  while (Holding())
    if (wl_display_dispatch(display_.Display()) < 0) return;
}

}  // namespace rc
