#!/usr/bin/env python3
"""Prints how many times per second the screen of $DISPLAY changed, counted over SECONDS through
the X DAMAGE extension on the root window: each drawing that reaches the screen after the last
one was counted is one change. With GAP_MS, changes less than that apart count as one: a
program that draws a frame in several requests shows one change per frame. Xlib through ctypes,
so that nothing needs to be installed.
Usage: count-frames.py [SECONDS] [GAP_MS]"""
import ctypes
import ctypes.util
import sys
import time

seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 10.0
gap = float(sys.argv[2]) / 1000 if len(sys.argv) > 2 else 0.0
x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
damage = ctypes.CDLL(ctypes.util.find_library("Xdamage"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_int)]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
damage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event_base, error_base = ctypes.c_int(), ctypes.c_int()
if not damage.XDamageQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
    sys.exit("the X server has no DAMAGE extension")
REPORT_NON_EMPTY = 3
handle = damage.XDamageCreate(display, x11.XDefaultRootWindow(display), REPORT_NON_EMPTY)
event = ctypes.create_string_buffer(192)  # an XEvent is 192 bytes on 64-bit systems
changes = 0
last = float("-inf")
end = time.monotonic() + seconds
while time.monotonic() < end:
    while x11.XPending(display):
        x11.XNextEvent(display, event)
        if ctypes.c_int.from_buffer(event).value == event_base.value:  # XDamageNotify
            now = time.monotonic()
            if now - last >= gap:
                changes += 1
            last = now
            damage.XDamageSubtract(display, handle, 0, 0)
    time.sleep(0.001)
print(f"{changes / seconds:.1f}")
