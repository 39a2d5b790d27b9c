#!/usr/bin/python3
# Drops files onto the X window under the given screen point as a file manager does (the XDND
# protocol: enter, position, drop, the file list handed over as text/uri-list), so that the
# program under Wine's X11 driver receives them through the system's own drop path.
#   xdnd_drop.py X Y FILE...
import sys, time, urllib.parse
from Xlib import X, display, Xatom
from Xlib.protocol import event

x, y = int(sys.argv[1]), int(sys.argv[2])
uris = "".join("file://" + urllib.parse.quote(f) + "\r\n" for f in sys.argv[3:]).encode()
d = display.Display()
root = d.screen().root
src = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
A = lambda n: d.intern_atom(n)
XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndDrop, XdndFinished, XdndSelection, XdndActionCopy, uri_list = (
    A(n) for n in ("XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
                   "XdndSelection", "XdndActionCopy", "text/uri-list"))

# The deepest window under the point that is XDND-aware (Wine marks its top-level windows).
target, w = None, root
while w:
    if w.get_full_property(XdndAware, X.AnyPropertyType):
        target = w
    child = w.translate_coords(root, x, y).child
    w = child if child and child != X.NONE else None
if target is None:
    sys.exit("no XDND-aware window at %d,%d" % (x, y))
src.set_selection_owner(XdndSelection, X.CurrentTime)
d.sync()

def send(kind, data):
    ev = event.ClientMessage(window=target, client_type=kind, data=(32, data))
    target.send_event(ev, event_mask=0)
    d.flush()

def pump(seconds, want=None):
    end = time.time() + seconds
    while time.time() < end:
        while d.pending_events():
            e = d.next_event()
            if e.type == X.SelectionRequest:
                prop = e.property if e.property != X.NONE else e.target
                if e.target == uri_list:
                    e.requestor.change_property(prop, uri_list, 8, uris)
                else:
                    prop = X.NONE
                reply = event.SelectionNotify(time=e.time, requestor=e.requestor, selection=e.selection,
                                              target=e.target, property=prop)
                e.requestor.send_event(reply)
                d.flush()
            elif e.type == X.ClientMessage and want is not None and e.client_type == want:
                return e
        time.sleep(0.01)
    return None

send(XdndEnter, [src.id, 5 << 24, uri_list, 0, 0])
pump(0.5)
send(XdndPosition, [src.id, 0, (x << 16) | y, X.CurrentTime, XdndActionCopy])
status = pump(3, XdndStatus)
if status is None or not (status.data[1][1] & 1):
    sys.exit("the window does not accept the drop")
send(XdndDrop, [src.id, 0, X.CurrentTime, 0, 0])
if pump(5, XdndFinished) is None:
    sys.exit("the drop was not finished")
print("dropped %d file(s) at %d,%d" % (len(sys.argv) - 3, x, y))
