// The clipboard through wl_data_device, for compositors without
// data-control (GNOME, KDE). There only a client the user is clicking or
// typing into may set the selection, quoting the serial of that input, and
// an offer lives only as long as the connection that made it. So the offer
// is made on the program's own connection while the overlay has the
// keyboard, and at the end the host forks: the child keeps that connection
// and serves pastes, the program exits (see WaylandHost::EndProgram).
#pragma once

#include <cstdint>
#include <optional>

#include "app/host.h"
#include "platform/wayland/wayland_clipboard_content.h"
#include "platform/wayland/wayland_display.h"

namespace rc {

class WaylandSelection {
 public:
  explicit WaylandSelection(WaylandDisplay& display) : display_(display) {}
  ~WaylandSelection();
  WaylandSelection(const WaylandSelection&) = delete;
  WaylandSelection& operator=(const WaylandSelection&) = delete;

  // Offers `content` as the seat's selection, quoting the serial of the
  // input that asked for it; Ok once the compositor has announced our offer
  // as the selection, else the reason.
  HostResult Offer(WaylandClipboardContent content, uint32_t serial);
  // Whether our offer is still the selection.
  bool Holding() const { return source_ != nullptr && !cancelled_; }
  // Answers pastes until another client takes the clipboard or the
  // connection ends.
  void ServeUntilTaken();

  // Listener entry points.
  void Send(const char* mime, int fd);
  void Cancelled() { cancelled_ = true; }
  void Selection(wl_data_offer* offer);

 private:
  HostResult MakeDevice();
  void DropSource();

  WaylandDisplay& display_;
  wl_data_device* device_ = nullptr;
  wl_data_source* source_ = nullptr;
  std::optional<WaylandClipboardContent> content_;
  bool cancelled_ = false;
  uint32_t selections_ = 0;  // selection announcements seen
  bool lastSelectionEmpty_ = true;
};

}  // namespace rc
