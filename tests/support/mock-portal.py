#!/usr/bin/python3
"""A desktop portal offering global shortcuts, on the session bus, for tests.

A python-dbusmock template: org.freedesktop.portal.GlobalShortcuts with the Request/Response
pattern, keeping what the client asked for. The test drives it through org.velmor.test.Portal:
  Calls() -> s               JSON list of {"method", "session", "shortcuts"} in call order
  Activate(s id)             emits Activated for that id on the newest open session
  OpenSessions() -> as       session handles not closed yet
  RefuseRebind(b)            when true, a second BindShortcuts in one session fails
Run as a program, it starts dbusmock with itself as the template; --no-shortcuts serves the
portal object without the global-shortcut interface.
"""
import json
import os
import sys
import time

import dbus
from dbusmock import mockobject
from gi.repository import GLib

BUS_NAME = "org.freedesktop.portal.Desktop"
MAIN_OBJ = "/org/freedesktop/portal/desktop"
SHORTCUTS = MAIN_IFACE = "org.freedesktop.portal.GlobalShortcuts"
SYSTEM_BUS = False
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
CONTROL = "org.velmor.test.Portal"


def load(mock, parameters):
    mock.offer_shortcuts = parameters.get("shortcuts", True)
    mock.calls, mock.binds, mock.refuse_rebind, mock.counter = [], {}, False, 0
    if mock.offer_shortcuts:
        mock.AddProperties(SHORTCUTS, {"version": dbus.UInt32(1)})


def handle(mock, kind, sender, options, key):
    mock.counter += 1
    token = str(options.get(key, "t%d" % mock.counter))
    return "%s/%s/%s/%s" % (MAIN_OBJ, kind, sender[1:].replace(".", "_"), token)


def answer_later(mock, options, sender, code, results):
    # As a real portal does: the handle first, the answer a moment later.
    path = handle(mock, "request", sender, options, "handle_token")
    mock.AddObject(path, REQUEST, {}, [("Close", "", "", "")])

    def emit():
        mockobject.get_object(path).EmitSignal(REQUEST, "Response", "ua{sv}", [code, results])
        mock.RemoveObject(path)
        return False
    GLib.timeout_add(20, emit)
    return path


def require(mock):
    if not mock.offer_shortcuts:
        raise dbus.exceptions.DBusException(
            "no such interface", name="org.freedesktop.DBus.Error.UnknownMethod")


def close_session(session):
    session.EmitSignal(SESSION, "Closed", "a{sv}", [{}])
    mockobject.get_object(MAIN_OBJ).RemoveObject(session.path)


@dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
def CreateSession(self, options, sender=None):
    require(self)
    session = handle(self, "session", sender, options, "session_handle_token")
    self.AddObject(session, SESSION, {}, [("Close", "", "", close_session)])
    self.binds[session] = 0
    self.calls.append({"method": "CreateSession", "session": session})
    return answer_later(self, options, sender, 0,
                        {"session_handle": dbus.String(session, variant_level=1)})


@dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                     sender_keyword="sender")
def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
    require(self)
    listed = [{"id": str(i), "description": str(p.get("description", "")),
               "preferred_trigger": str(p.get("preferred_trigger", ""))} for i, p in shortcuts]
    self.calls.append({"method": "BindShortcuts", "session": str(session), "shortcuts": listed})
    if str(session) not in OpenSessions(self) or (self.refuse_rebind and self.binds[session]):
        return answer_later(self, options, sender, 2, {})
    self.binds[session] += 1
    results = dbus.Array([(s["id"], {"description": s["description"],
                                     "trigger_description": "Press " + s["preferred_trigger"]})
                          for s in listed], signature="(sa{sv})", variant_level=1)
    return answer_later(self, options, sender, 0, {"shortcuts": results})


@dbus.service.method(CONTROL, out_signature="s")
def Calls(self):
    return json.dumps(self.calls)


@dbus.service.method(CONTROL, in_signature="s")
def Activate(self, shortcut_id):
    sessions = OpenSessions(self)
    if not sessions:
        raise dbus.exceptions.DBusException("no open session")
    now = dbus.UInt64(int(time.time() * 1000))
    for signal in ("Activated", "Deactivated"):
        self.EmitSignal(SHORTCUTS, signal, "osta{sv}", [sessions[-1], shortcut_id, now, {}])


@dbus.service.method(CONTROL, out_signature="as")
def OpenSessions(self):
    return [path for path in self.binds if path in mockobject.get_objects()]


@dbus.service.method(CONTROL, in_signature="b")
def RefuseRebind(self, refuse):
    self.refuse_rebind = bool(refuse)


if __name__ == "__main__":
    parameters = json.dumps({"shortcuts": "--no-shortcuts" not in sys.argv})
    os.execv("/usr/bin/python3", ["python3", "-m", "dbusmock", "--session", "--logfile",
                                  os.devnull, "--template", __file__, "-p", parameters])
