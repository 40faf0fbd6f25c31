#pragma once

#include <cstdint>
#include <functional>
#include <string>

// sd-bus's types, declared without its header.
struct sd_bus;
struct sd_bus_message;

namespace platform::x11 {

// One connection to the session bus through sd-bus, driven by the
// program's own event loop: it never waits by itself except in Wait. The
// callbacks are std::functions that live as long as their call or match.
//
// The connection never makes a blocking call to a peer that might call
// back into us: every call here is asynchronous, and its answer arrives
// from Process.
class DBusConnection {
 public:
  // The answer to a call: a method return or an error.
  using ReplyHandler = std::function<void(sd_bus_message* reply)>;
  using SignalHandler = std::function<void(sd_bus_message* message)>;
  // Appends a call's arguments; returns a negative errno on failure.
  using ArgumentWriter = std::function<int(sd_bus_message* message)>;

  // Connects to the session bus ($DBUS_SESSION_BUS_ADDRESS); Connected()
  // says whether that worked. description names the connection in the
  // bus's logs.
  explicit DBusConnection(const char* description);
  ~DBusConnection();
  DBusConnection(const DBusConnection&) = delete;
  DBusConnection& operator=(const DBusConnection&) = delete;

  bool Connected() const { return FBus != nullptr; }
  sd_bus* Bus() const { return FBus; }

  // ---- The event loop's side ----
  int Descriptor() const;
  // poll events to wait for (POLLIN, and POLLOUT while output waits).
  short PollEvents() const;
  // Milliseconds until the connection has something due (a call timing
  // out), -1 for nothing.
  int TimeoutMilliseconds() const;
  // Handles every message that is ready, without waiting. A broken
  // connection is closed (Connected() turns false); false then.
  bool Process();
  // Waits until the connection has something to handle or milliseconds
  // pass.
  void Wait(int milliseconds);

  // ---- Messages ----
  // Calls a method; onReply (may be empty) gets the answer later from
  // Process. False when the call could not be sent.
  bool CallAsync(const char* destination, const char* path, const char* interface,
                 const char* member, const ArgumentWriter& arguments, ReplyHandler onReply);
  // Calls handler for every signal the match rule selects, from now on.
  bool AddMatch(const std::string& rule, SignalHandler handler);
  // Asks for a well-known name, without queueing behind another owner.
  bool RequestName(const std::string& name);
  // Sends a signal of our object.
  bool EmitSignal(const char* path, const char* interface, const char* member);

 private:
  void Close();

  sd_bus* FBus = nullptr;
};

// The text of a D-Bus error reply, empty for a method return.
std::string DBusErrorName(sd_bus_message* reply);

}  // namespace platform::x11
