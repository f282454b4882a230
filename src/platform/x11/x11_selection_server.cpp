#include "platform/x11/x11_selection_server.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <thread>

#include "gfx/bmp_codec.h"
#include "platform/codecs/png_codec.h"
#include "platform/linux/clipboard_text.h"

namespace rc {

namespace {

constexpr int kOwnershipAttempts = 10;
constexpr auto kOwnershipPause = std::chrono::milliseconds(50);
// A requestor that stops reading an INCR transfer is given up after this.
constexpr auto kStaleTransfer = std::chrono::seconds(10);
constexpr int kPollMs = 1000;
// Answers up to this size go in one property; larger ones in INCR chunks
// of this size. Kept well below the server's request limit.
constexpr size_t kChunkCap = 256 * 1024;

Atom Intern(Display* dpy, const char* name) { return XInternAtom(dpy, name, False); }

size_t ChunkSize(Display* dpy) {
  long units = XExtendedMaxRequestSize(dpy);
  if (units == 0) units = XMaxRequestSize(dpy);
  const size_t limit = static_cast<size_t>(units) * 4;
  return std::min(kChunkCap, limit > 2048 ? limit - 1024 : limit / 2);
}

}  // namespace

X11SelectionServer::X11SelectionServer(Display* dpy, Canvas picture) : dpy_(dpy), picture_(std::move(picture)) {
  atoms_ = {Intern(dpy, "CLIPBOARD"),   Intern(dpy, "TARGETS"),          Intern(dpy, "TIMESTAMP"),
            Intern(dpy, "MULTIPLE"),    Intern(dpy, "INCR"),             Intern(dpy, "ATOM_PAIR"),
            Intern(dpy, "image/png"),   Intern(dpy, "image/bmp"),        Intern(dpy, "CLIPBOARD_MANAGER"),
            Intern(dpy, "SAVE_TARGETS"), Intern(dpy, "REGIONCAP_SAVED"), Intern(dpy, "REGIONCAP_STAMP"),
            Intern(dpy, "UTF8_STRING"),  Intern(dpy, "text/plain;charset=utf-8"), Intern(dpy, "TEXT")};
  chunk_ = ChunkSize(dpy);
  window_ = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
  XSelectInput(dpy, window_, PropertyChangeMask);
}

X11SelectionServer::~X11SelectionServer() { XDestroyWindow(dpy_, window_); }

// ICCCM wants a real server time for ownership, not CurrentTime: an empty
// append to our own window's property makes the server tell us one.
Time X11SelectionServer::ServerTime() {
  XChangeProperty(dpy_, window_, atoms_.stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent event;
  do {
    XWindowEvent(dpy_, window_, PropertyChangeMask, &event);
  } while (event.xproperty.atom != atoms_.stamp);
  return event.xproperty.time;
}

bool X11SelectionServer::TakeOwnership(std::string& error) {
  for (int attempt = 0; attempt < kOwnershipAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kOwnershipPause);
    ownedSince_ = ServerTime();
    XSetSelectionOwner(dpy_, atoms_.clipboard, window_, ownedSince_);
    if (XGetSelectionOwner(dpy_, atoms_.clipboard) == window_) {
      owner_ = true;
      return true;
    }
  }
  error = "X11: cannot take the CLIPBOARD selection";
  return false;
}

// A running clipboard manager keeps the picture once we are gone.
void X11SelectionServer::AskManagerToSave() {
  if (XGetSelectionOwner(dpy_, atoms_.manager) == None) return;
  XConvertSelection(dpy_, atoms_.manager, atoms_.saveTargets, atoms_.saveReply, window_, ownedSince_);
  XFlush(dpy_);
}

void X11SelectionServer::Serve() {
  AskManagerToSave();
  while ((owner_ && !savedByManager_) || !transfers_.empty()) {
    if (!WaitForEvent()) {
      DropStaleTransfers();
      continue;
    }
    XEvent event;
    XNextEvent(dpy_, &event);
    Handle(event);
  }
}

// Waits up to a second for an event, so stale transfers are noticed even
// when nothing happens.
bool X11SelectionServer::WaitForEvent() {
  if (XPending(dpy_) > 0) return true;
  pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
  poll(&fd, 1, kPollMs);
  return XPending(dpy_) > 0;
}

void X11SelectionServer::Handle(XEvent& event) {
  switch (event.type) {
    case SelectionRequest: Answer(event.xselectionrequest); break;
    case SelectionClear:
      if (event.xselectionclear.selection == atoms_.clipboard) owner_ = false;
      break;
    case SelectionNotify:
      if (event.xselection.selection == atoms_.manager) savedByManager_ = event.xselection.property != None;
      break;
    case PropertyNotify:
      if (event.xproperty.state == PropertyDelete) ContinueTransfer(event.xproperty);
      break;
    default: break;
  }
  DropStaleTransfers();
}

void X11SelectionServer::Answer(const XSelectionRequestEvent& request) {
  XEvent reply{};
  reply.xselection = {SelectionNotify, 0, True, dpy_, request.requestor, request.selection, request.target, None,
                      request.time};
  const bool current = request.time == CurrentTime || request.time >= ownedSince_;
  if (owner_ && request.selection == atoms_.clipboard && current) {
    // Obsolete clients name no property; the target's name serves.
    const Atom property = request.property == None ? request.target : request.property;
    const bool done = request.target == atoms_.multiple
                          ? request.property != None && ConvertMultiple(request.requestor, property)
                          : Convert(request.requestor, request.target, property);
    if (done) reply.xselection.property = property;
  }
  XSendEvent(dpy_, request.requestor, False, NoEventMask, &reply);
  XFlush(dpy_);
}

void X11SelectionServer::SetText(const std::string& utf8) {
  utf8_.emplace(utf8.begin(), utf8.end());
  latin1_ = Latin1FromUtf8(utf8);
}

std::vector<long> X11SelectionServer::Targets() const {
  std::vector<long> list = {static_cast<long>(atoms_.targets), static_cast<long>(atoms_.timestamp),
                            static_cast<long>(atoms_.multiple)};
  const std::vector<Atom> formats = utf8_ ? std::vector<Atom>{atoms_.utf8String, atoms_.textPlainUtf8, XA_STRING,
                                                              atoms_.text}
                                          : std::vector<Atom>{atoms_.png, atoms_.bmp};
  for (Atom a : formats) list.push_back(static_cast<long>(a));
  return list;
}

// TEXT leaves the encoding to us: plain ASCII goes as STRING, which every
// reader takes, anything else as UTF8_STRING.
bool X11SelectionServer::ConvertText(Window requestor, Atom target, Atom property) {
  if (target == atoms_.utf8String || target == atoms_.textPlainUtf8) return Send(requestor, property, target, *utf8_);
  if (target == XA_STRING) return Send(requestor, property, XA_STRING, latin1_);
  if (target != atoms_.text) return false;
  const bool ascii = std::all_of(utf8_->begin(), utf8_->end(), [](uint8_t c) { return c < 0x80; });
  return Send(requestor, property, ascii ? XA_STRING : atoms_.utf8String, *utf8_);
}

bool X11SelectionServer::Convert(Window requestor, Atom target, Atom property) {
  if (target == atoms_.targets) {
    const std::vector<long> list = Targets();
    XChangeProperty(dpy_, requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(list.data()), static_cast<int>(list.size()));
    return true;
  }
  if (target == atoms_.timestamp) {
    const long stamp = static_cast<long>(ownedSince_);
    XChangeProperty(dpy_, requestor, property, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&stamp), 1);
    return true;
  }
  if (utf8_) return ConvertText(requestor, target, property);
  if (target == atoms_.png) return Send(requestor, property, target, Png());
  if (target == atoms_.bmp) return Send(requestor, property, target, Bmp());
  return false;
}

// The property holds (target, property) pairs; a pair that cannot be
// converted gets None as its property, as ICCCM asks.
bool X11SelectionServer::ConvertMultiple(Window requestor, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(dpy_, requestor, property, 0, 0x1000000, False, AnyPropertyType, &type,
                                        &format, &count, &after, &data);
  if (status != Success || data == nullptr || format != 32) {
    if (data != nullptr) XFree(data);
    return false;
  }
  std::vector<long> pairs(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  XFree(data);
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
    const Atom target = static_cast<Atom>(pairs[i]);
    if (target == atoms_.multiple || !Convert(requestor, target, static_cast<Atom>(pairs[i + 1]))) pairs[i + 1] = None;
  }
  XChangeProperty(dpy_, requestor, property, type, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(pairs.data()), static_cast<int>(pairs.size()));
  return true;
}

bool X11SelectionServer::Send(Window requestor, Atom property, Atom type, const std::vector<uint8_t>& data) {
  if (data.empty()) return false;
  if (data.size() <= chunk_) {
    XChangeProperty(dpy_, requestor, property, type, 8, PropModeReplace, data.data(), static_cast<int>(data.size()));
    return true;
  }
  // INCR: announce the size; every deletion of the property by the
  // requestor asks for the next chunk, and an empty chunk ends it.
  XSelectInput(dpy_, requestor, PropertyChangeMask);
  const long size = static_cast<long>(data.size());
  XChangeProperty(dpy_, requestor, property, atoms_.incr, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&size), 1);
  transfers_.push_back({requestor, property, type, &data, 0, std::chrono::steady_clock::now()});
  return true;
}

void X11SelectionServer::ContinueTransfer(const XPropertyEvent& event) {
  const auto it = std::find_if(transfers_.begin(), transfers_.end(), [&](const Transfer& t) {
    return t.requestor == event.window && t.property == event.atom;
  });
  if (it == transfers_.end()) return;
  const size_t length = std::min(chunk_, it->data->size() - it->offset);
  XChangeProperty(dpy_, it->requestor, it->property, it->type, 8, PropModeReplace, it->data->data() + it->offset,
                  static_cast<int>(length));
  XFlush(dpy_);
  it->offset += length;
  it->lastStep = std::chrono::steady_clock::now();
  if (length == 0) {
    XSelectInput(dpy_, it->requestor, NoEventMask);
    transfers_.erase(it);
  }
}

void X11SelectionServer::DropStaleTransfers() {
  const auto now = std::chrono::steady_clock::now();
  std::erase_if(transfers_, [&](const Transfer& t) { return now - t.lastStep > kStaleTransfer; });
}

// Encoded only when first asked for: most pastes want one format.
const std::vector<uint8_t>& X11SelectionServer::Png() {
  if (!png_) png_ = PngCodec().Encode(picture_);
  return *png_;
}

const std::vector<uint8_t>& X11SelectionServer::Bmp() {
  if (!bmp_) bmp_ = BmpImageCodec().Encode(picture_);
  return *bmp_;
}

}  // namespace rc
