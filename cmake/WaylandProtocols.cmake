# Wayland client code generated at build time with wayland-scanner from the
# protocol descriptions Debian ships: the standard ones in wayland-protocols,
# the wlroots ones inside librust-wayland-protocols-dev.
#
# Sets REGIONCAP_WAYLAND_FOUND and, when found, builds the static library
# regioncap_wayland_protocols whose headers are included as
# "<name>-client-protocol.h".

pkg_check_modules(WAYLAND_CLIENT IMPORTED_TARGET wayland-client wayland-cursor xkbcommon)
# The screenshot portal (GNOME, KDE) is reached over D-Bus.
pkg_check_modules(DBUS IMPORTED_TARGET dbus-1)
find_program(WAYLAND_SCANNER wayland-scanner)
set(REGIONCAP_WAYLAND_PROTOCOLS_DIR /usr/share/wayland-protocols CACHE PATH "wayland-protocols' XML")
set(REGIONCAP_WLR_PROTOCOLS_DIR /usr/share/cargo/registry/wayland-protocols-0.29.4/wlr-protocols/unstable
    CACHE PATH "the wlroots protocols' XML")
# The input method's side of text input, for a test helper that plays one.
set(REGIONCAP_MISC_PROTOCOLS_DIR /usr/share/cargo/registry/wayland-protocols-0.29.4/misc
    CACHE PATH "input-method-unstable-v2's XML")

set(REGIONCAP_WAYLAND_XML
  ${REGIONCAP_WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml
  ${REGIONCAP_WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml
  ${REGIONCAP_WAYLAND_PROTOCOLS_DIR}/unstable/xdg-output/xdg-output-unstable-v1.xml
  ${REGIONCAP_WAYLAND_PROTOCOLS_DIR}/staging/fractional-scale/fractional-scale-v1.xml
  ${REGIONCAP_WAYLAND_PROTOCOLS_DIR}/unstable/text-input/text-input-unstable-v3.xml
  ${REGIONCAP_WLR_PROTOCOLS_DIR}/wlr-layer-shell-unstable-v1.xml
  ${REGIONCAP_WLR_PROTOCOLS_DIR}/wlr-screencopy-unstable-v1.xml
  ${REGIONCAP_WLR_PROTOCOLS_DIR}/wlr-data-control-unstable-v1.xml
  ${REGIONCAP_WLR_PROTOCOLS_DIR}/wlr-virtual-pointer-unstable-v1.xml
  ${REGIONCAP_MISC_PROTOCOLS_DIR}/input-method-unstable-v2.xml)

set(REGIONCAP_WAYLAND_FOUND OFF)
if(NOT WAYLAND_CLIENT_FOUND OR NOT DBUS_FOUND OR NOT WAYLAND_SCANNER)
  message(STATUS "Wayland host: off (wayland-client, wayland-cursor, xkbcommon, dbus-1 or wayland-scanner missing)")
  return()
endif()
foreach(xml ${REGIONCAP_WAYLAND_XML})
  if(NOT EXISTS ${xml})
    message(STATUS "Wayland host: off (${xml} missing)")
    return()
  endif()
endforeach()
set(REGIONCAP_WAYLAND_FOUND ON)

set(generated_dir ${CMAKE_BINARY_DIR}/wayland-protocols)
file(MAKE_DIRECTORY ${generated_dir})
set(generated_sources)
foreach(xml ${REGIONCAP_WAYLAND_XML})
  get_filename_component(name ${xml} NAME_WE)
  add_custom_command(
    OUTPUT ${generated_dir}/${name}-client-protocol.h ${generated_dir}/${name}-protocol.c
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${generated_dir}/${name}-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${generated_dir}/${name}-protocol.c
    DEPENDS ${xml} VERBATIM)
  list(APPEND generated_sources ${generated_dir}/${name}-protocol.c ${generated_dir}/${name}-client-protocol.h)
endforeach()
add_library(regioncap_wayland_protocols STATIC ${generated_sources})
target_include_directories(regioncap_wayland_protocols PUBLIC ${generated_dir})
target_link_libraries(regioncap_wayland_protocols PUBLIC PkgConfig::WAYLAND_CLIENT)
message(STATUS "Wayland host: on")
