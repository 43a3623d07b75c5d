"""Watches an X display's top-level windows as they are created, mapped and
drawn on, with libX11 and libXdamage through ctypes (no Python X module is
needed).

A window counts as painted at the first damage report on it after it was
mapped: with no compositor and no window manager, that is the moment the
program's first frame reached the window. Times are time.monotonic().
"""
import ctypes
import select
import time

CREATE_NOTIFY, DESTROY_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY, CONFIGURE_NOTIFY = 16, 17, 18, 19, 22
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
DAMAGE_REPORT_NON_EMPTY = 3
CLIENT_MESSAGE = 33


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


def _field(event, offset, kind):
    return kind.from_buffer(event, offset).value


# Offsets into XEvent on LP64: the window of Create/Map/Unmap/Configure/
# Destroy events sits at 40, sizes of Create and Configure at 56 and 60, the
# damaged drawable at 32.
def _window(event):
    return _field(event, 40, ctypes.c_ulong)


def _size(event):
    return _field(event, 56, ctypes.c_int), _field(event, 60, ctypes.c_int)


class Window:
    def __init__(self, wid, size):
        self.id = wid
        self.size = size
        self.name = None
        self.mapped_at = None
        self.painted_at = None


class Display:
    def __init__(self, name=None):
        self.x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.damage = ctypes.cdll.LoadLibrary("libXdamage.so.1")
        x = self.x11
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_Event)]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                 ctypes.POINTER(ctypes.c_char_p)]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                 ctypes.c_long, ctypes.c_void_p]
        self.damage.XDamageQueryExtension.argtypes = [
            ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
        self.damage.XDamageCreate.restype = ctypes.c_ulong
        self.damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]

        # A window may be gone before we ask about it: ignore X errors
        # instead of letting Xlib end the process.
        handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        self._on_error = handler_type(lambda display, error: 0)
        x.XSetErrorHandler(self._on_error)

        self.dpy = x.XOpenDisplay(name.encode() if name else None)
        if not self.dpy:
            raise RuntimeError("cannot open the X display")
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if not self.damage.XDamageQueryExtension(self.dpy, ctypes.byref(event_base),
                                                 ctypes.byref(error_base)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.damage_notify = event_base.value
        self.root = x.XDefaultRootWindow(self.dpy)
        x.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        x.XSync(self.dpy, 0)
        self.fd = x.XConnectionNumber(self.dpy)
        self.windows = {}

    def forget(self):
        """Drops what is known of earlier windows (before a new run)."""
        self.drain(0)
        self.windows = {}

    def drain(self, seconds):
        """Handles events for the given time."""
        end = time.monotonic() + seconds
        while True:
            self._handle_pending()
            left = end - time.monotonic()
            if left <= 0:
                return
            select.select([self.fd], [], [], left)

    def wait_for(self, condition, timeout):
        """Handles events until condition() holds; its result, or None."""
        end = time.monotonic() + timeout
        while True:
            self._handle_pending()
            found = condition()
            if found:
                return found
            left = end - time.monotonic()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def _handle_pending(self):
        event = _Event()
        while self.x11.XPending(self.dpy):
            self.x11.XNextEvent(self.dpy, ctypes.byref(event))
            now = time.monotonic()
            kind = event.type
            if kind == CREATE_NOTIFY:
                wid = _window(event)
                self.windows[wid] = Window(wid, _size(event))
                # Asked at once, before the program can have mapped it.
                self.damage.XDamageCreate(self.dpy, wid, DAMAGE_REPORT_NON_EMPTY)
                self.x11.XFlush(self.dpy)
            elif kind == CONFIGURE_NOTIFY and _window(event) in self.windows:
                self.windows[_window(event)].size = _size(event)
            elif kind == MAP_NOTIFY and _window(event) in self.windows:
                window = self.windows[_window(event)]
                window.mapped_at = now
                window.painted_at = None
            elif kind in (UNMAP_NOTIFY, DESTROY_NOTIFY) and _window(event) in self.windows:
                self.windows[_window(event)].mapped_at = None
            elif kind == self.damage_notify:
                window = self.windows.get(_field(event, 32, ctypes.c_ulong))
                if window and window.mapped_at and not window.painted_at:
                    window.painted_at = now

    def window_name(self, wid):
        name = ctypes.c_char_p()
        if self.x11.XFetchName(self.dpy, wid, ctypes.byref(name)) and name.value:
            return name.value.decode("latin-1")
        return None

    def painted(self, size):
        """The first mapped and painted window of that size, or None."""
        for window in self.windows.values():
            if window.size == size and window.painted_at:
                return window
        return None

    def mapped_named(self, name):
        for window in self.windows.values():
            if window.mapped_at and window.name is None:
                window.name = self.window_name(window.id)
            if window.mapped_at and window.name == name:
                return window
        return None

    def close_window(self, wid):
        """Asks a window to close as a window manager's close box does."""
        message = _ClientMessage()
        message.type = CLIENT_MESSAGE
        message.window = wid
        message.message_type = self.x11.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        message.format = 32
        message.data[0] = self.x11.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", 0)
        self.x11.XSendEvent(self.dpy, wid, 0, 0, ctypes.byref(message))
        self.x11.XFlush(self.dpy)
