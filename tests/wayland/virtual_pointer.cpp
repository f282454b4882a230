// A pointer for tests under a headless compositor, which has none: reads
// commands from standard input, one a line, and plays them through
// zwlr_virtual_pointer_manager_v1 on the default seat.
//   move X Y          absolute, in logical layout coordinates
//   down BUTTON | up BUTTON | click BUTTON    (left, right, middle)
//   wheel STEPS       positive toward the user
// Usage: virtual_pointer LAYOUT_WIDTH LAYOUT_HEIGHT
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<uint32_t>(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

uint32_t ButtonCode(const std::string& name) {
  if (name == "right") return BTN_RIGHT;
  if (name == "middle") return BTN_MIDDLE;
  return BTN_LEFT;
}

void Button(zwlr_virtual_pointer_v1* p, const std::string& name, bool down) {
  zwlr_virtual_pointer_v1_button(p, NowMs(), ButtonCode(name),
                                 down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
  zwlr_virtual_pointer_v1_frame(p);
}

void Play(zwlr_virtual_pointer_v1* p, const std::string& line, uint32_t width, uint32_t height) {
  std::istringstream in(line);
  std::string verb, arg;
  in >> verb;
  if (verb == "move") {
    uint32_t x = 0, y = 0;
    in >> x >> y;
    zwlr_virtual_pointer_v1_motion_absolute(p, NowMs(), x, y, width, height);
    zwlr_virtual_pointer_v1_frame(p);
  } else if (verb == "down" || verb == "up") {
    in >> arg;
    Button(p, arg, verb == "down");
  } else if (verb == "click") {
    in >> arg;
    Button(p, arg, true);
    Button(p, arg, false);
  } else if (verb == "wheel") {
    int steps = 0;
    in >> steps;
    zwlr_virtual_pointer_v1_axis_source(p, WL_POINTER_AXIS_SOURCE_WHEEL);
    zwlr_virtual_pointer_v1_axis_discrete(p, NowMs(), WL_POINTER_AXIS_VERTICAL_SCROLL, wl_fixed_from_int(10 * steps),
                                          steps);
    zwlr_virtual_pointer_v1_frame(p);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: virtual_pointer LAYOUT_WIDTH LAYOUT_HEIGHT < commands\n");
    return 2;
  }
  const auto width = static_cast<uint32_t>(std::atoi(argv[1]));
  const auto height = static_cast<uint32_t>(std::atoi(argv[2]));
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "virtual_pointer: no compositor\n");
    return 1;
  }
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (manager == nullptr) {
    std::fprintf(stderr, "virtual_pointer: no zwlr_virtual_pointer_manager_v1\n");
    return 1;
  }
  zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
  std::string line;
  while (std::getline(std::cin, line)) {
    Play(pointer, line, width, height);
    if (wl_display_roundtrip(display) < 0) return 1;
    std::printf("ok\n");
    std::fflush(stdout);
  }
  zwlr_virtual_pointer_v1_destroy(pointer);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
