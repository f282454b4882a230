#include "platform/wayland/portal_screenshot.h"

#include <unistd.h>

#include <chrono>
#include <memory>

#include "platform/wayland/dbus_api.h"

namespace rc {

namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
// Long enough for a permission question the desktop may put to the user.
constexpr int kAnswerMs = 30000;

// Set once libdbus is loaded, before any call below.
const DBusApi* g_dbus = nullptr;
const DBusApi& Api() { return *g_dbus; }

struct ConnectionCloser {
  void operator()(DBusConnection* c) const {
    Api().connection_close(c);
    Api().connection_unref(c);
  }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
  void operator()(DBusMessage* m) const { Api().message_unref(m); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

// libdbus's error, freed on every path.
struct Error {
  DBusError e;
  Error() { Api().error_init(&e); }
  ~Error() { Api().error_free(&e); }
  bool Set() const { return Api().error_is_set(&e); }
  bool Is(const char* name) const { return Api().error_has_name(&e, name); }
};

HostResult Failed(const std::string& why) { return HostResult::Fail("Wayland: " + why); }

// The Request object the portal makes for a call with `token`: its path
// holds our unique bus name without the colon, dots made underscores.
std::string RequestPath(const char* uniqueName, const std::string& token) {
  std::string sender = uniqueName[0] == ':' ? uniqueName + 1 : uniqueName;
  for (char& c : sender)
    if (c == '.') c = '_';
  return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

void WatchResponse(DBusConnection* c, const std::string& path) {
  const std::string rule = "type='signal',sender='" + std::string(kPortal) + "',interface='" + kRequest +
                           "',member='Response',path='" + path + "'";
  Api().bus_add_match(c, rule.c_str(), nullptr);
}

void AppendEntry(DBusMessageIter& dict, const char* key, int type, const void* value) {
  const char signature[2] = {static_cast<char>(type), '\0'};
  DBusMessageIter entry, variant;
  Api().message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
  Api().message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
  Api().message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
  Api().message_iter_append_basic(&variant, type, value);
  Api().message_iter_close_container(&entry, &variant);
  Api().message_iter_close_container(&dict, &entry);
}

// Screenshot("", {handle_token, interactive: false, modal: false}).
Message ScreenshotCall(const std::string& token) {
  Message m(Api().message_new_method_call(kPortal, kPortalPath, "org.freedesktop.portal.Screenshot", "Screenshot"));
  if (m == nullptr) return m;
  DBusMessageIter args, dict;
  Api().message_iter_init_append(m.get(), &args);
  const char* parent = "";
  const char* handle = token.c_str();
  const dbus_bool_t no = FALSE;
  Api().message_iter_append_basic(&args, DBUS_TYPE_STRING, &parent);
  Api().message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &dict);
  AppendEntry(dict, "handle_token", DBUS_TYPE_STRING, &handle);
  AppendEntry(dict, "interactive", DBUS_TYPE_BOOLEAN, &no);
  AppendEntry(dict, "modal", DBUS_TYPE_BOOLEAN, &no);
  Api().message_iter_close_container(&args, &dict);
  return m;
}

HostResult CallFailed(const Error& error) {
  if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) || error.Is(DBUS_ERROR_NAME_HAS_NO_OWNER))
    return Failed("no screenshot portal on the session bus (org.freedesktop.portal.Desktop is not there)");
  if (error.Is(DBUS_ERROR_UNKNOWN_METHOD) || error.Is(DBUS_ERROR_UNKNOWN_INTERFACE))
    return Failed("the desktop portal offers no org.freedesktop.portal.Screenshot");
  if (error.Is(DBUS_ERROR_NO_REPLY) || error.Is(DBUS_ERROR_TIMEOUT) || error.Is(DBUS_ERROR_TIMED_OUT))
    return Failed("the screenshot portal did not answer");
  return Failed(std::string("the screenshot portal failed: ") + (error.Set() ? error.e.message : "no reply"));
}

// Sends the call; `handle` gets the Request object the portal answers on.
HostResult CallScreenshot(DBusConnection* c, const std::string& token, std::string& handle) {
  const Message call = ScreenshotCall(token);
  if (call == nullptr) return Failed("no memory for the screenshot portal's call");
  Error error;
  const Message reply(Api().connection_send_with_reply_and_block(c, call.get(), kAnswerMs, &error.e));
  if (reply == nullptr) return CallFailed(error);
  const char* path = nullptr;
  if (!Api().message_get_args(reply.get(), &error.e, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID))
    return Failed("the screenshot portal answered with something else than a request");
  handle = path;
  return HostResult::Ok();
}

// The value of key "uri" in the Response's results, if it is a string.
std::string UriOf(DBusMessageIter& results) {
  if (Api().message_iter_get_arg_type(&results) != DBUS_TYPE_ARRAY) return "";
  DBusMessageIter dict;
  for (Api().message_iter_recurse(&results, &dict); Api().message_iter_get_arg_type(&dict) == DBUS_TYPE_DICT_ENTRY;
       Api().message_iter_next(&dict)) {
    DBusMessageIter entry, value;
    Api().message_iter_recurse(&dict, &entry);
    const char* key = nullptr;
    Api().message_iter_get_basic(&entry, &key);
    if (std::string(key) != "uri" || !Api().message_iter_next(&entry)) continue;
    Api().message_iter_recurse(&entry, &value);
    if (Api().message_iter_get_arg_type(&value) != DBUS_TYPE_STRING) return "";
    const char* uri = nullptr;
    Api().message_iter_get_basic(&value, &uri);
    return uri;
  }
  return "";
}

HostResult ReadResponse(DBusMessage* m, std::string& uri) {
  DBusMessageIter args;
  dbus_uint32_t response = 2;
  if (!Api().message_iter_init(m, &args) || Api().message_iter_get_arg_type(&args) != DBUS_TYPE_UINT32)
    return Failed("the screenshot portal's answer is malformed");
  Api().message_iter_get_basic(&args, &response);
  if (response == 1) return Failed("the screenshot was refused (the screenshot portal's request was cancelled)");
  if (response != 0) return Failed("the screenshot portal refused the screenshot (response " + std::to_string(response) + ")");
  Api().message_iter_next(&args);
  uri = UriOf(args);
  return uri.empty() ? Failed("the screenshot portal returned no picture") : HostResult::Ok();
}

bool IsResponseTo(DBusMessage* m, const std::string& handle) {
  const char* path = Api().message_get_path(m);
  return Api().message_is_signal(m, kRequest, "Response") && path != nullptr && handle == path;
}

// Waits for the Response signal on `handle` until the deadline.
HostResult AwaitResponse(DBusConnection* c, const std::string& handle, std::string& uri) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kAnswerMs);
  for (;;) {
    while (DBusMessage* raw = Api().connection_pop_message(c)) {
      const Message m(raw);
      if (IsResponseTo(m.get(), handle)) return ReadResponse(m.get(), uri);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return Failed("the screenshot portal did not answer within " + std::to_string(kAnswerMs / 1000) + " s");
    if (!Api().connection_read_write(c, static_cast<int>(left)))
      return Failed("the session bus closed the connection");
  }
}

// A request left unanswered is withdrawn, so no late picture appears.
void CloseRequest(DBusConnection* c, const std::string& handle) {
  const Message close(Api().message_new_method_call(kPortal, handle.c_str(), kRequest, "Close"));
  if (close == nullptr) return;
  Api().message_set_no_reply(close.get(), TRUE);
  Api().connection_send(c, close.get(), nullptr);
  Api().connection_flush(c);
}

}  // namespace

HostResult AskPortalForScreenshot(std::string& uri) {
  std::string loadError;
  g_dbus = LoadDBus(loadError);
  if (g_dbus == nullptr) return Failed("no screenshot portal: " + loadError);
  Error error;
  Connection c(Api().bus_get_private(DBUS_BUS_SESSION, &error.e));
  if (c == nullptr)
    return Failed(std::string("no D-Bus session bus for the screenshot portal (") + error.e.message + ")");
  Api().connection_set_exit_on_disconnect(c.get(), FALSE);
  const std::string token = "regioncap" + std::to_string(getpid());
  const std::string expected = RequestPath(Api().bus_get_unique_name(c.get()), token);
  // Watched before the call: the answer may come before the call returns.
  WatchResponse(c.get(), expected);
  std::string handle;
  HostResult result = CallScreenshot(c.get(), token, handle);
  if (!result) return result;
  if (handle != expected) WatchResponse(c.get(), handle);  // portals older than handle_token
  result = AwaitResponse(c.get(), handle, uri);
  if (!result) CloseRequest(c.get(), handle);
  return result;
}

}  // namespace rc
