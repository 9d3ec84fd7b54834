#!/usr/bin/python3
"""Asks a desktop's thumbnail maker for the thumbnails of the puzzle files in a
folder, at 128 and at 256 pixels, and checks each against what
`gridlook thumbnail` made of it, pixel for pixel.

    thumbnails.py tumbler FOLDER EXPECTED   Thunar's thumbnail service, over
                                            the session bus
    thumbnails.py gnome FOLDER EXPECTED     the GNOME thumbnail factory, which
                                            runs the thumbnailer in its sandbox

EXPECTED/SIZE/NAME.png is `gridlook thumbnail -s SIZE`'s picture of the file
NAME. A file whose name begins with "foreign" has a puzzle's extension or type
but contents that Gridlook declines: its thumbnail must fail. Prints one line
per file and size, and exits with 1 when any check failed."""

import os
import signal
import sys

import gi

gi.require_version("GdkPixbuf", "2.0")
gi.require_version("GnomeDesktop", "3.0")
from gi.repository import GdkPixbuf, Gio, GLib, GnomeDesktop  # noqa: E402

SIZES = {128: "normal", 256: "large"}
TUMBLER = "org.freedesktop.thumbnails.Thumbnailer1"
TUMBLER_PATH = "/org/freedesktop/thumbnails/Thumbnailer1"
TUMBLER_TIMEOUT_SECONDS = 60


def content_type(path):
    info = Gio.File.new_for_path(path).query_info("standard::content-type", Gio.FileQueryInfoFlags.NONE, None)
    return info.get_content_type()


def pixels(pixbuf):
    """Width, height and the RGBA bytes of every row, without row padding."""
    if not pixbuf.get_has_alpha():
        pixbuf = pixbuf.add_alpha(False, 0, 0, 0)
    width, height, stride = pixbuf.get_width(), pixbuf.get_height(), pixbuf.get_rowstride()
    data = pixbuf.get_pixels()
    return width, height, b"".join(data[y * stride:y * stride + 4 * width] for y in range(height))


class Checks:
    def __init__(self, folder, expected):
        self.folder = folder
        self.expected = expected
        self.failures = 0
        self.names = sorted(os.listdir(folder))

    def path(self, name):
        return os.path.join(self.folder, name)

    def report(self, ok, name, size, what):
        print(f"  {'ok' if ok else 'FAILED'}  {name} at {size}: {what}")
        self.failures += 0 if ok else 1

    def check_thumbnail(self, name, size, pixbuf, failure="failed"):
        """`failure` says how the maker answered when it made no thumbnail."""
        foreign = name.startswith("foreign")
        if foreign or pixbuf is None:
            self.report(foreign and failure == "failed", name, size,
                        failure if pixbuf is None else "a thumbnail was made")
            return
        wanted = GdkPixbuf.Pixbuf.new_from_file(os.path.join(self.expected, str(size), name + ".png"))
        got, want = pixels(pixbuf), pixels(wanted)
        self.report(got == want, name, size,
                    f"{got[0]} x {got[1]}, " + ("equal to gridlook's" if got == want else
                                                f"differs from gridlook's {want[0]} x {want[1]}"))


def ask_tumbler(bus, uris, types, flavor):
    """Queues the files and waits for the request to finish; returns the URIs
    reported ready and those reported failed."""
    ready, failed = set(), set()
    loop = GLib.MainLoop()
    handle = None

    def on_signal(_connection, _sender, _path, _interface, name, parameters, _data):
        if parameters[0] != handle:
            return
        if name == "Ready":
            ready.update(parameters[1])
        elif name == "Error":
            failed.update(parameters[1])
        elif name == "Finished":
            loop.quit()

    bus.signal_subscribe(None, TUMBLER, None, TUMBLER_PATH, None, Gio.DBusSignalFlags.NONE, on_signal, None)
    handle = bus.call_sync(TUMBLER, TUMBLER_PATH, TUMBLER, "Queue",
                           GLib.Variant("(asasssu)", (uris, types, flavor, "foreground", 0)),
                           GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
    GLib.timeout_add_seconds(TUMBLER_TIMEOUT_SECONDS, loop.quit)
    loop.run()
    return ready, failed


def end_tumbler(bus):
    """The service was started for this session bus: end it by its process id."""
    pid = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                        "GetConnectionUnixProcessID", GLib.Variant("(s)", (TUMBLER,)),
                        GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
    os.kill(pid, signal.SIGTERM)


def check_tumbler(checks):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    uris = {name: Gio.File.new_for_path(checks.path(name)).get_uri() for name in checks.names}
    types = [content_type(checks.path(name)) for name in checks.names]
    cache = os.path.join(GLib.get_user_cache_dir(), "thumbnails")
    try:
        for size, flavor in SIZES.items():
            ready, failed = ask_tumbler(bus, list(uris.values()), types, flavor)
            for name, uri in uris.items():
                if uri in failed or uri not in ready:
                    checks.check_thumbnail(name, size, None, "failed" if uri in failed else "no answer")
                    continue
                digest = GLib.compute_checksum_for_string(GLib.ChecksumType.MD5, uri, -1)
                checks.check_thumbnail(name, size, GdkPixbuf.Pixbuf.new_from_file(
                    os.path.join(cache, flavor, digest + ".png")))
    finally:
        end_tumbler(bus)


def check_gnome(checks):
    for size in SIZES:
        factory = GnomeDesktop.DesktopThumbnailFactory.new(
            GnomeDesktop.DesktopThumbnailSize.NORMAL if size == 128 else GnomeDesktop.DesktopThumbnailSize.LARGE)
        for name in checks.names:
            uri = Gio.File.new_for_path(checks.path(name)).get_uri()
            mime = content_type(checks.path(name))
            if not factory.can_thumbnail(uri, mime, 0):
                checks.report(False, name, size, f"the factory has no thumbnailer for {mime}")
                continue
            try:
                pixbuf = factory.generate_thumbnail(uri, mime, None)
            except GLib.Error:
                pixbuf = None
            checks.check_thumbnail(name, size, pixbuf)


def main(maker, folder, expected):
    checks = Checks(folder, expected)
    {"tumbler": check_tumbler, "gnome": check_gnome}[maker](checks)
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
