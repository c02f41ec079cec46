#!/usr/bin/python3
"""A desktop portal offering global shortcuts, on the session bus, for tests.

Implements org.freedesktop.portal.GlobalShortcuts with the Request/Response pattern and keeps
what the client asked for. The test drives it through org.velmor.test.Portal:
  Calls() -> s               JSON list of {"method", "session", "shortcuts"} in call order
  Activate(s id)             emits Activated for that id on the newest open session
  OpenSessions() -> as       session handles not closed yet
  RefuseRebind(b)            when true, a second BindShortcuts in one session fails
Options: --no-shortcuts serves the portal object without the global-shortcut interface.
"""
import json
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

BUS_NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
CONTROL = "org.velmor.test.Portal"
PROPS = "org.freedesktop.DBus.Properties"


def sender_part(sender):
    return sender[1:].replace(".", "_")


class Request(dbus.service.Object):
    def __init__(self, bus, path):
        super().__init__(bus, path)

    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, code, results):
        pass

    @dbus.service.method(REQUEST)
    def Close(self):
        pass


class Session(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.path = path
        self.portal = portal
        self.binds = 0

    @dbus.service.method(SESSION)
    def Close(self):
        self.portal.sessions.pop(self.path, None)
        self.Closed({})
        self.remove_from_connection()

    @dbus.service.signal(SESSION, signature="a{sv}")
    def Closed(self, details):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, offer_shortcuts):
        super().__init__(bus, PATH)
        self.bus = bus
        self.offer_shortcuts = offer_shortcuts
        self.sessions = {}
        self.calls = []
        self.refuse_rebind = False
        self.counter = 0

    def request(self, sender, options):
        token = str(options.get("handle_token", "t%d" % self.counter))
        self.counter += 1
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender_part(sender), token)
        return Request(self.bus, path), path

    def answer_later(self, request, code, results):
        # As a real portal does: the handle first, the answer a moment later.
        def emit():
            request.Response(dbus.UInt32(code), results)
            request.remove_from_connection()
            return False
        GLib.timeout_add(20, emit)

    # The properties interface, so the client can ask for the version.
    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == SHORTCUTS and name == "version" and self.offer_shortcuts:
            return dbus.UInt32(1, variant_level=1)
        raise dbus.exceptions.DBusException(
            "no such property", name="org.freedesktop.DBus.Error.UnknownProperty")

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        if interface == SHORTCUTS and self.offer_shortcuts:
            return {"version": dbus.UInt32(1)}
        return {}

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.require()
        request, path = self.request(sender, options)
        token = str(options.get("session_handle_token", "s%d" % self.counter))
        session_path = "/org/freedesktop/portal/desktop/session/%s/%s" % (
            sender_part(sender), token)
        self.sessions[session_path] = Session(self.bus, session_path, self)
        self.calls.append({"method": "CreateSession", "session": session_path})
        self.answer_later(request, 0, {"session_handle": dbus.String(session_path,
                                                                     variant_level=1)})
        return path

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session_path, shortcuts, parent_window, options, sender=None):
        self.require()
        session = self.sessions.get(str(session_path))
        listed = [{"id": str(i), "description": str(p.get("description", "")),
                   "preferred_trigger": str(p.get("preferred_trigger", ""))}
                  for i, p in shortcuts]
        self.calls.append({"method": "BindShortcuts", "session": str(session_path),
                           "shortcuts": listed})
        request, path = self.request(sender, options)
        if session is None or (self.refuse_rebind and session.binds > 0):
            self.answer_later(request, 2, {})
            return path
        session.binds += 1
        results = dbus.Array([dbus.Struct((s["id"], {
            "description": dbus.String(s["description"], variant_level=1),
            "trigger_description": dbus.String("Press " + s["preferred_trigger"],
                                               variant_level=1)}), signature="sa{sv}")
            for s in listed], signature="(sa{sv})")
        self.answer_later(request, 0, {"shortcuts": dbus.Array(results, signature="(sa{sv})",
                                                               variant_level=1)})
        return path

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session, shortcut_id, timestamp, options):
        pass

    def require(self):
        if not self.offer_shortcuts:
            raise dbus.exceptions.DBusException(
                "no such interface", name="org.freedesktop.DBus.Error.UnknownMethod")

    @dbus.service.method(CONTROL, out_signature="s")
    def Calls(self):
        return json.dumps(self.calls)

    @dbus.service.method(CONTROL, in_signature="s")
    def Activate(self, shortcut_id):
        if not self.sessions:
            raise dbus.exceptions.DBusException("no open session")
        session = list(self.sessions)[-1]
        now = dbus.UInt64(int(time.time() * 1000))
        self.Activated(dbus.ObjectPath(session), shortcut_id, now, {})
        self.Deactivated(dbus.ObjectPath(session), shortcut_id, now, {})

    @dbus.service.method(CONTROL, out_signature="as")
    def OpenSessions(self):
        return list(self.sessions)

    @dbus.service.method(CONTROL, in_signature="b")
    def RefuseRebind(self, refuse):
        self.refuse_rebind = bool(refuse)


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, "--no-shortcuts" not in sys.argv)
    name = dbus.service.BusName(BUS_NAME, bus)  # the name lasts as long as this object
    GLib.MainLoop().run()
    del portal, name


if __name__ == "__main__":
    main()
