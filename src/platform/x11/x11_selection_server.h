// Serves one picture or one text as the CLIPBOARD selection: TARGETS,
// TIMESTAMP, MULTIPLE, and image/png and image/bmp for a picture or
// UTF8_STRING, text/plain;charset=utf-8, STRING and TEXT for a text; large
// answers in INCR chunks, and the hand-over to a clipboard manager. Runs in
// the clipboard owner process.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

class X11SelectionServer {
 public:
  X11SelectionServer(Display* dpy, Canvas picture);
  ~X11SelectionServer();
  X11SelectionServer(const X11SelectionServer&) = delete;
  X11SelectionServer& operator=(const X11SelectionServer&) = delete;

  // The picture may arrive after ownership is taken (it is only read when
  // a client asks for it).
  void SetPicture(Canvas picture) { picture_ = std::move(picture); }
  // Serves this text (UTF-8) instead of a picture.
  void SetText(const std::string& utf8);
  // Takes CLIPBOARD ownership, retrying briefly; false with `error` set.
  bool TakeOwnership(std::string& error);
  // Answers requests until another client owns the selection (or a
  // clipboard manager has saved it) and no transfer is left unfinished.
  void Serve();

 private:
  struct Transfer {
    Window requestor = 0;
    Atom property = 0;
    Atom type = 0;
    const std::vector<uint8_t>* data = nullptr;
    size_t offset = 0;
    std::chrono::steady_clock::time_point lastStep;
  };

  Time ServerTime();
  void AskManagerToSave();
  void Handle(XEvent& event);
  void Answer(const XSelectionRequestEvent& request);
  bool Convert(Window requestor, Atom target, Atom property);
  bool ConvertMultiple(Window requestor, Atom property);
  bool Send(Window requestor, Atom property, Atom type, const std::vector<uint8_t>& data);
  void ContinueTransfer(const XPropertyEvent& event);
  void DropStaleTransfers();
  bool WaitForEvent();
  const std::vector<uint8_t>& Png();
  const std::vector<uint8_t>& Bmp();
  bool ConvertText(Window requestor, Atom target, Atom property);
  std::vector<long> Targets() const;

  Display* dpy_;
  Window window_ = 0;
  Canvas picture_;
  Time ownedSince_ = CurrentTime;
  size_t chunk_ = 0;
  bool owner_ = false;
  bool savedByManager_ = false;
  std::optional<std::vector<uint8_t>> png_;
  std::optional<std::vector<uint8_t>> bmp_;
  std::optional<std::vector<uint8_t>> utf8_;
  std::vector<uint8_t> latin1_;
  std::vector<Transfer> transfers_;
  struct Atoms {
    Atom clipboard, targets, timestamp, multiple, incr, atomPair, png, bmp, manager, saveTargets, saveReply, stamp;
    Atom utf8String, textPlainUtf8, text;
  } atoms_;
};

}  // namespace rc
