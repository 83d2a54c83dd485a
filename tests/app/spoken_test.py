#!/usr/bin/python3
"""The game's words on the accessibility bus, as a screen reader hears them.

The real game runs with Qt's accessibility on (as when a screen reader
runs), in a D-Bus session of its own with the AT-SPI bus; this script
listens to the bus with pyatspi while it sends real keys through the X
server with xdotool. It checks that the game view is a named canvas that
takes the keyboard, that each key that changes something is answered by
the words it should be (worked out from the rules and seed 4's scatter,
whose red piece lands at (-20, -70, 0)), that a key that changes nothing
says nothing, that the view is said once when a held camera key comes up,
that Describe's words come whole, and that the words follow the language
chosen in the menu; and that without a screen reader the game stays off
the bus.

    dbus-run-session -- python3 spoken_test.py path/to/vokta
"""

import os
import queue
import re
import shutil
import subprocess
import sys
import tempfile
import threading

import pyatspi
from gi.repository import GLib

TIMEOUT = 20  # seconds for anything the game should do at once
ENGLISH_NAME = "The game's view. D says what it shows."
RUSSIAN_NAME = "Поле игры. D описывает, что на нём."


class Bus:
    """What the accessibility bus carries, in the order it came."""

    def __init__(self):
        self.events = queue.Queue()
        pyatspi.Registry.registerEventListener(
            self.heard, "object:text-changed:insert", "object:property-change:accessible-name", "focus:"
        )
        self.loop = threading.Thread(target=pyatspi.Registry.start, daemon=True)
        self.loop.start()

    def heard(self, event):
        try:
            role = event.source.getRoleName()
            name = event.source.name
        except Exception:  # the object went away before it was asked
            return
        self.events.put((event.type, role, name, event.any_data if event.type.startswith("object:text") else None))

    def next(self, what, accept):
        """The first event that accept takes, the others skipped; fails after TIMEOUT."""
        try:
            while True:
                event = self.events.get(timeout=TIMEOUT)
                if accept(event):
                    return event
        except queue.Empty:
            sys.exit(f"FAIL: waited {TIMEOUT} s for {what}")

    def said(self, what="the game's words"):
        """The next words the game view said."""
        kind, role, _, text = self.next(what, lambda e: e[0].startswith("object:text-changed:insert") and e[1] == "canvas")
        return text

    def stop(self):
        GLib.idle_add(pyatspi.Registry.stop)


def expect(actual, expected, what):
    if actual != expected:
        sys.exit(f"FAIL: {what}:\n  expected {expected!r}\n  heard    {actual!r}")


def expect_match(actual, pattern, what):
    if not re.fullmatch(pattern, actual):
        sys.exit(f"FAIL: {what}:\n  expected /{pattern}/\n  heard    {actual!r}")


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


class Frames:
    """The game's frame log (VOKTA_FRAME_LOG): one line a frame drawn."""

    def __init__(self, stream):
        self.count = 0
        self.changed = threading.Condition()
        threading.Thread(target=self.read, args=(stream,), daemon=True).start()

    def read(self, stream):
        for line in stream:
            if line.startswith(b"frame "):
                with self.changed:
                    self.count += 1
                    self.changed.notify_all()

    def wait_for(self, count):
        with self.changed:
            if not self.changed.wait_for(lambda: self.count >= count, timeout=TIMEOUT):
                sys.exit(f"FAIL: waited {TIMEOUT} s for frame {count}")


def start_game(folder, screen_reader):
    environment = dict(
        os.environ,
        VOKTA_START="1",
        VOKTA_SEED="4",
        VOKTA_SOUND="off",
        VOKTA_FRAME_LOG="1",
        XDG_DATA_HOME=os.path.join(folder, "data"),
        XDG_CONFIG_HOME=os.path.join(folder, "config"),
    )
    # What a screen reader's start turns on; without it Qt stays off the bus.
    if screen_reader:
        environment["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    else:
        environment.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
    return subprocess.Popen([os.path.join(folder, "vokta")], env=environment, stdout=subprocess.PIPE)


def main():
    binary = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        # A copy of its own beside the model file and the library, so that
        # its vokta.ini (beside the program) is this test's alone.
        shutil.copy(binary, folder)
        source = os.path.dirname(os.path.abspath(binary))
        for shared in ("vokta.x", "tasks"):
            os.symlink(os.path.join(source, shared), os.path.join(folder, shared))
        with open(os.path.join(folder, "vokta.ini"), "w") as settings:
            settings.write("[OPTIONS]\nLanguage=English\n")
        bus = Bus()
        try:
            for screen_reader in (False, True):
                game = start_game(folder, screen_reader)
                try:
                    frames = Frames(game.stdout)
                    (play if screen_reader else play_unheard)(bus, frames)
                finally:
                    game.kill()
                    game.wait()
        finally:
            bus.stop()
    print("PASS")


def play_unheard(bus, frames):
    """Without a screen reader the game stays off the bus: keys that would
    be answered draw their frames, and nothing is said."""
    frames.wait_for(1)
    xdotool("mousemove", "400", "60", "click", "1")
    drawn = frames.count
    xdotool("key", "2", "d", "Left")
    frames.wait_for(drawn + 2)
    names = [application.name for application in pyatspi.Registry.getDesktop(0) if application is not None]
    expect("vokta" in names, False, "the game on the bus without a screen reader")
    try:
        event = bus.events.get_nowait()
        sys.exit(f"FAIL: heard {event} without a screen reader")
    except queue.Empty:
        pass


def play(bus, frames):
    # The view, a canvas named for the game, has the keyboard.
    _, _, name, _ = bus.next("the game view taking the keyboard", lambda e: e[0].startswith("focus") and e[1] == "canvas")
    expect(name, ENGLISH_NAME, "the game view's name")

    # Seed 4's seven pieces come to rest, each said once.
    rested = []
    while len(rested) < 7:
        rested += re.findall(r"(\w+) piece (\d) came to rest on", bus.said("the scattered pieces coming to rest"))
    expect(sorted(digit for _, digit in rested), list("1234567"), "every piece coming to rest once")

    # A click on the sky gives the view the keyboard again and changes nothing.
    xdotool("mousemove", "400", "60", "click", "1")
    # x changes nothing: the next words are the selection's.
    xdotool("key", "x", "2")
    expect(bus.said(), "Selected red piece 2: columns -1 to 1, 6 cells behind the figure, on the floor.",
           "selecting the red piece")
    # From the diagonal start-up view Left goes one cell along -x and one along +y.
    xdotool("key", "Left")
    expect(bus.said(), "1 cell left of the figure, 5 behind, on the floor.", "moving it left")
    xdotool("key", "Page_Down")
    expect(bus.said(), "The floor is in the way.", "moving it into the floor")

    # Describe: the empty cube and the pieces away from it.
    xdotool("key", "d")
    expect_match(bus.said("the description"),
                 r"Figure: 3 wide, 3 deep, 3 high, 27 cells, 0 filled\. Layer 1 empty\. Layer 2 empty\. "
                 r"Layer 3 empty\. Away from the figure, in cells: .*Red 2, selected: 1 left, 5 behind\..*",
                 "the description")
    xdotool("key", "Escape")
    expect(bus.said(), "Let go: red piece 2.", "letting it go")
    expect(bus.said(), "Red piece 2 came to rest on the floor.", "its landing")

    # A camera key held: nothing said while it turns the view, then the view once.
    xdotool("keydown", "Left")
    frames.wait_for(frames.count + 3)
    xdotool("keyup", "Left")
    expect_match(bus.said("the view"), r"View from the (north-east|north|north-west), 35 degrees down, 17 cells away; "
                 r"moves go (straight|diagonally)\.", "the view once the camera stops")

    # Help, its last item (Russian): the name and the words change language.
    xdotool("key", "alt+h")
    bus.next("the Help menu", lambda e: e[0].startswith("focus") and e[1] == "menu item")
    xdotool("key", "Up")
    bus.next("its last item", lambda e: e[0].startswith("focus") and e[2] == "Russian")
    xdotool("key", "Return")
    _, _, name, _ = bus.next("the view's name in Russian", lambda e: e[0].startswith("object:property-change") and e[1] == "canvas")
    expect(name, RUSSIAN_NAME, "the game view's name in Russian")
    bus.next("the view taking the keyboard back", lambda e: e[0].startswith("focus") and e[1] == "canvas")
    xdotool("key", "2")
    expect_match(bus.said(), r"Выбрана красная деталь 2: .*", "selecting the red piece in Russian")
    xdotool("key", "Page_Down")
    expect(bus.said(), "Мешает пол.", "the floor in the way, in Russian")


if __name__ == "__main__":
    main()
