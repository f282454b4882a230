#include "platform/wayland/wayland_text_input.h"

#include "text-input-unstable-v3-client-protocol.h"

namespace rc {

namespace {

WaylandTextInput& Of(void* data) { return *static_cast<WaylandTextInput*>(data); }

void OnEnter(void* data, zwp_text_input_v3*, wl_surface* surface) { Of(data).Enter(surface); }
void OnLeave(void* data, zwp_text_input_v3*, wl_surface*) { Of(data).Leave(); }
void OnPreedit(void*, zwp_text_input_v3*, const char*, int32_t, int32_t) {}
void OnCommitString(void* data, zwp_text_input_v3*, const char* text) { Of(data).CommitString(text); }
void OnDeleteSurrounding(void*, zwp_text_input_v3*, uint32_t, uint32_t) {}
void OnDone(void* data, zwp_text_input_v3*, uint32_t) { Of(data).Done(); }
const zwp_text_input_v3_listener kListener = {OnEnter,             OnLeave, OnPreedit, OnCommitString,
                                              OnDeleteSurrounding, OnDone};

}  // namespace

WaylandTextInput::WaylandTextInput(WaylandDisplay& display, Locate locate, OnCommit onCommit)
    : display_(display), locate_(std::move(locate)), onCommit_(std::move(onCommit)) {
  const WaylandGlobals& g = display_.Globals();
  if (g.textInput == nullptr || g.seat == nullptr) return;
  input_ = zwp_text_input_manager_v3_get_text_input(g.textInput, g.seat);
  zwp_text_input_v3_add_listener(input_, &kListener, this);
}

WaylandTextInput::~WaylandTextInput() {
  if (input_ != nullptr && display_.Display() != nullptr) zwp_text_input_v3_destroy(input_);
}

void WaylandTextInput::SetSpot(std::optional<Box> caret) {
  spot_ = caret;
  SendState();
}

// Focus moved to one of our surfaces: a text box already open asks for the
// method again, as the protocol wants after every enter.
void WaylandTextInput::Enter(wl_surface* surface) {
  focus_ = surface;
  enabled_ = false;
  SendState();
}

// The compositor takes the method away on leave by itself.
void WaylandTextInput::Leave() {
  focus_ = nullptr;
  enabled_ = false;
}

// Each done closes one batch of events; a string committed in it is typed.
void WaylandTextInput::Done() {
  std::string text;
  text.swap(pending_);
  if (!text.empty() && onCommit_) onCommit_(text);
}

// The state is double-buffered: requests take effect at commit, and only
// a change is sent, since every commit makes the method reconsider.
void WaylandTextInput::SendState() {
  if (input_ == nullptr || focus_ == nullptr) return;
  if (!spot_) {
    if (!enabled_) return;
    zwp_text_input_v3_disable(input_);
    zwp_text_input_v3_commit(input_);
    enabled_ = false;
    return;
  }
  const std::optional<Box> local = locate_(focus_, *spot_);
  if (enabled_ && local == sentSpot_) return;
  if (!enabled_) {
    zwp_text_input_v3_enable(input_);
    zwp_text_input_v3_set_content_type(input_, ZWP_TEXT_INPUT_V3_CONTENT_HINT_NONE,
                                       ZWP_TEXT_INPUT_V3_CONTENT_PURPOSE_NORMAL);
  }
  if (local) zwp_text_input_v3_set_cursor_rectangle(input_, local->x, local->y, local->width, local->height);
  zwp_text_input_v3_commit(input_);
  enabled_ = true;
  sentSpot_ = local;
}

}  // namespace rc
