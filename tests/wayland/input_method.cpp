// An input method for tests under a headless compositor: through
// zwp_input_method_v2 on the default seat, it commits TEXT each time a text
// input asks for it, and logs "activate" and "deactivate" lines on stdout
// as the text input comes and goes.
// Usage: input_method TEXT
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

#include "input-method-unstable-v2-client-protocol.h"

namespace {

wl_seat* seat = nullptr;
zwp_input_method_manager_v2* manager = nullptr;

struct Method {
  const char* text = "";
  uint32_t dones = 0;
  bool pendingActive = false;
  bool active = false;
  bool gone = false;
};

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat == nullptr)
    seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, zwp_input_method_manager_v2_interface.name) == 0)
    manager = static_cast<zwp_input_method_manager_v2*>(
        wl_registry_bind(registry, name, &zwp_input_method_manager_v2_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

Method& Of(void* data) { return *static_cast<Method*>(data); }
void OnActivate(void* data, zwp_input_method_v2*) { Of(data).pendingActive = true; }
void OnDeactivate(void* data, zwp_input_method_v2*) { Of(data).pendingActive = false; }
void OnSurrounding(void*, zwp_input_method_v2*, const char*, uint32_t, uint32_t) {}
void OnCause(void*, zwp_input_method_v2*, uint32_t) {}
void OnContentType(void*, zwp_input_method_v2*, uint32_t, uint32_t) {}
void OnUnavailable(void* data, zwp_input_method_v2*) {
  std::fprintf(stderr, "input_method: another input method is running\n");
  Of(data).gone = true;
}

void OnDone(void* data, zwp_input_method_v2* im) {
  Method& m = Of(data);
  ++m.dones;
  if (m.pendingActive == m.active) return;
  m.active = m.pendingActive;
  std::printf("%s\n", m.active ? "activate" : "deactivate");
  std::fflush(stdout);
  if (!m.active) return;
  zwp_input_method_v2_commit_string(im, m.text);
  zwp_input_method_v2_commit(im, m.dones);
}

const zwp_input_method_v2_listener kListener = {OnActivate,    OnDeactivate, OnSurrounding, OnCause,
                                                OnContentType, OnDone,       OnUnavailable};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: input_method TEXT\n");
    return 2;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "input_method: no compositor\n");
    return 1;
  }
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (manager == nullptr || seat == nullptr) {
    std::fprintf(stderr, "input_method: no zwp_input_method_manager_v2\n");
    return 1;
  }
  Method method;
  method.text = argv[1];
  zwp_input_method_v2* im = zwp_input_method_manager_v2_get_input_method(manager, seat);
  zwp_input_method_v2_add_listener(im, &kListener, &method);
  std::printf("ready\n");
  std::fflush(stdout);
  while (!method.gone && wl_display_dispatch(display) >= 0) {
  }
  return method.gone ? 1 : 0;
}
