#!/usr/bin/python3
"""A desktop's shortcut portal backend for the tests, spoken to by the real
xdg-desktop-portal frontend: it implements org.freedesktop.impl.portal.
GlobalShortcuts (and Session) the way a desktop does, giving every shortcut
its preferred trigger, described in a desktop's own style ("Ctrl+Shift+F5"),
and org.freedesktop.impl.portal.RemoteDesktop's keyboard, granted without
asking, whose keysyms it records.

The test drives it over its own interface io.github.lirabox.TestPortal at
/io/github/lirabox/TestPortal:
  Press(s id), Release(s id)  the bound shortcut goes down / up (Activated,
                              Deactivated on the last bound session)
  Bound() -> s                the last bound shortcuts, one "id|description|
                              preferred trigger" line each ("" before a bind)
  Binds() -> u                how many binds so far
  OpenSessions() -> u         sessions created and not closed yet
  Keysyms() -> s              what the RemoteDesktop keyboard was sent: a
                              "+" (pressed) or "-" (released) and the keysym
                              in hex, one a line
  RemoteDesktopSessions() -> u  keyboard sessions asked for so far
Runs until its bus goes away."""

import sys

from gi.repository import Gio, GLib

NAME = "io.github.lirabox.TestPortal"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
CONTROL_PATH = "/io/github/lirabox/TestPortal"

XML = """
<node>
  <interface name="org.freedesktop.impl.portal.GlobalShortcuts">
    <method name="CreateSession">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="s" name="app_id" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <method name="BindShortcuts">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a(sa{sv})" name="shortcuts" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <method name="ListShortcuts">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <signal name="Activated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="Deactivated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.impl.portal.RemoteDesktop">
    <method name="CreateSession">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="s" name="app_id" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <method name="SelectDevices">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="s" name="app_id" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <method name="Start">
      <arg type="o" name="handle" direction="in"/>
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="s" name="app_id" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="u" name="response" direction="out"/>
      <arg type="a{sv}" name="results" direction="out"/>
    </method>
    <method name="NotifyKeyboardKeysym">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="i" name="keysym" direction="in"/>
      <arg type="u" name="state" direction="in"/>
    </method>
    <property name="AvailableDeviceTypes" type="u" access="read"/>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.impl.portal.Session">
    <method name="Close"/>
    <signal name="Closed"/>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="io.github.lirabox.TestPortal">
    <method name="Press"><arg type="s" name="id" direction="in"/></method>
    <method name="Release"><arg type="s" name="id" direction="in"/></method>
    <method name="Bound"><arg type="s" name="lines" direction="out"/></method>
    <method name="Binds"><arg type="u" name="count" direction="out"/></method>
    <method name="OpenSessions"><arg type="u" name="count" direction="out"/></method>
    <method name="Keysyms"><arg type="s" name="keys" direction="out"/></method>
    <method name="RemoteDesktopSessions"><arg type="u" name="count" direction="out"/></method>
  </interface>
</node>
"""
NODE = Gio.DBusNodeInfo.new_for_xml(XML)


def described(trigger):
    words = {"CTRL": "Ctrl", "SHIFT": "Shift", "ALT": "Alt", "LOGO": "Meta"}
    return "+".join(words.get(part, part) for part in trigger.split("+")) if trigger else ""


class Backend:
    def __init__(self, bus):
        self.bus = bus
        self.sessions = {}  # path -> registration id
        self.bound_session = None
        self.bound = []
        self.binds = 0
        self.keysyms = []
        self.remote_sessions = 0
        shortcuts = NODE.lookup_interface("org.freedesktop.impl.portal.GlobalShortcuts")
        remote = NODE.lookup_interface("org.freedesktop.impl.portal.RemoteDesktop")
        control = NODE.lookup_interface("io.github.lirabox.TestPortal")
        bus.register_object(PORTAL_PATH, shortcuts, self.on_call, self.on_property, None)
        bus.register_object(PORTAL_PATH, remote, self.on_remote_call, self.on_property, None)
        bus.register_object(CONTROL_PATH, control, self.on_call, None, None)

    def on_property(self, *_):
        return GLib.Variant("u", 1)  # the version, and the keyboard as the one device type

    def on_remote_call(self, bus, sender, path, interface, method, args, invocation):
        values = args.unpack()
        if method == "CreateSession":
            self.remote_sessions += 1
            reply = self.CreateSession(path, *values)
        elif method == "NotifyKeyboardKeysym":
            _session, _options, keysym, state = values
            self.keysyms.append(("+" if state else "-") + format(keysym, "x"))
            reply = None
        else:
            devices = {"devices": GLib.Variant("u", 1)} if method == "Start" else {}
            reply = GLib.Variant("(ua{sv})", (0, devices))
        invocation.return_value(reply)

    def on_call(self, bus, sender, path, interface, method, args, invocation):
        reply = getattr(self, method)(path, *args.unpack())
        invocation.return_value(reply)

    def CreateSession(self, _path, _handle, session, _app_id, _options):
        session_interface = NODE.lookup_interface("org.freedesktop.impl.portal.Session")
        self.sessions[session] = self.bus.register_object(
            session, session_interface, self.on_session_call, self.on_property, None)
        return GLib.Variant("(ua{sv})", (0, {"session_id": GLib.Variant("s", session)}))

    def on_session_call(self, bus, sender, path, interface, method, args, invocation):
        bus.unregister_object(self.sessions.pop(path))
        if self.bound_session == path:
            self.bound_session = None
        invocation.return_value(None)

    def BindShortcuts(self, _path, _handle, session, shortcuts, _parent, _options):
        self.binds += 1
        self.bound_session = session
        self.bound = [(id, props.get("description", ""), props.get("preferred_trigger", ""))
                      for id, props in shortcuts]
        given = [(id, {"description": GLib.Variant("s", description),
                       "trigger_description": GLib.Variant("s", described(trigger))})
                 for id, description, trigger in self.bound]
        return GLib.Variant("(ua{sv})", (0, {"shortcuts": GLib.Variant("a(sa{sv})", given)}))

    def ListShortcuts(self, _path, _handle, _session):
        return self.BindShortcuts(None, None, self.bound_session, [(i, {}) for i, _, _ in self.bound], "", {})

    def signal(self, name, shortcut):
        if self.bound_session is not None:
            self.bus.emit_signal(None, PORTAL_PATH, "org.freedesktop.impl.portal.GlobalShortcuts", name,
                                 GLib.Variant("(osta{sv})", (self.bound_session, shortcut, 0, {})))

    def Press(self, _path, shortcut):
        self.signal("Activated", shortcut)

    def Release(self, _path, shortcut):
        self.signal("Deactivated", shortcut)

    def Bound(self, _path):
        return GLib.Variant("(s)", ("".join("|".join(entry) + "\n" for entry in self.bound),))

    def Binds(self, _path):
        return GLib.Variant("(u)", (self.binds,))

    def Keysyms(self, _path):
        return GLib.Variant("(s)", ("".join(key + "\n" for key in self.keysyms),))

    def RemoteDesktopSessions(self, _path):
        return GLib.Variant("(u)", (self.remote_sessions,))

    def OpenSessions(self, _path):
        return GLib.Variant("(u)", (len(self.sessions),))


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    loop = GLib.MainLoop()
    backend = Backend(bus)
    bus.connect("closed", lambda *_: loop.quit())
    Gio.bus_own_name_on_connection(bus, NAME, Gio.BusNameOwnerFlags.NONE, None, lambda *_: loop.quit())
    loop.run()
    del backend
    return 0


if __name__ == "__main__":
    sys.exit(main())
