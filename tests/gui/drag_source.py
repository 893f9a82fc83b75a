#!/usr/bin/python3
"""A drag source as a file manager or an editor is one: a small GTK 3 window whose one button drags
file URIs or a text selection over XDND, for the end-to-end drop tests to drive with xdotool.

    drag_source.py --at X Y (--files PATH... | --text TEXT)

Prints "ready" once the window is on the screen, then for each drag "drag-failed RESULT" when the
target refused or failed it, and "drag-end".
"""
import argparse
import os
import sys

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('Gdk', '3.0')
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--at', nargs=2, type=int, required=True, metavar=('X', 'Y'))
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument('--files', nargs='+')
    what.add_argument('--text')
    args = parser.parse_args()

    window = Gtk.Window(title='icotake drag source')
    button = Gtk.Button(label='drag me')
    button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [],
                           Gdk.DragAction.COPY | Gdk.DragAction.MOVE | Gdk.DragAction.LINK)
    if args.files:
        button.drag_source_add_uri_targets()
    else:
        button.drag_source_add_text_targets()

    def give_data(_widget, _context, data, _info, _time):
        if args.files:
            data.set_uris([GLib.filename_to_uri(os.path.abspath(path)) for path in args.files])
        else:
            data.set_text(args.text, -1)

    def say(line):
        print(line, flush=True)

    button.connect('drag-data-get', give_data)
    button.connect('drag-failed', lambda _w, _c, result: say(f'drag-failed {result.value_nick}') or False)
    button.connect('drag-end', lambda *_: say('drag-end'))
    window.connect('map-event', lambda *_: say('ready'))
    window.connect('destroy', Gtk.main_quit)
    window.add(button)
    window.set_default_size(160, 80)
    window.move(*args.at)
    window.show_all()
    Gtk.main()


if __name__ == '__main__':
    sys.exit(main())
