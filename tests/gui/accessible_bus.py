#!/usr/bin/python3
"""The running editor as a screen reader sees it, through the accessibility bus.

Usage: accessible_bus.py SYSEX_FILE DECAY

The editor shows kick 7 with Decay at DECAY and sends to "SysEx file" (SYSEX_FILE). Reads the
menu names and the kick window's controls, sets Decay over the bus and waits for its message.
Then opens the Project Overview from the View menu, reads its rows and filters them by typing
into its search field. Last, plays the kick from the Midi menu and compares it with the saved
project from the Edit menu.
"""

import re
import sys
import time

import pyatspi


def fail(text):
    print("FAIL: " + text, flush=True)
    sys.exit(1)


def wait_for(what, find, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail("no " + what)


def editor():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower().startswith("quenley"):
            return app
    return None


def find_all(root, keep):
    return pyatspi.utils.findAllDescendants(root, keep)


def named(root, name, role):
    hits = find_all(root, lambda a: a.name == name and a.getRole() == role)
    return hits[0] if hits else None


def main():
    sysex_path, decay = sys.argv[1], int(sys.argv[2])
    app = wait_for("editor on the bus", editor)

    menus = wait_for(
        "menu bar",
        lambda: [a.name for a in find_all(app, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM
                                          and a.parent.getRole() == pyatspi.ROLE_MENU_BAR)])
    for menu in ("Project", "Edit", "View"):
        if not any(name.replace("&", "") == menu for name in menus):
            fail("menu %s not among %s" % (menu, menus))

    knob = wait_for("Decay knob", lambda: named(app, "Decay", pyatspi.ROLE_DIAL))
    readout = named(app, "Decay read-out", pyatspi.ROLE_SPIN_BUTTON)
    if readout is None:
        fail("no Decay read-out")
    level = named(app, "Level", pyatspi.ROLE_DIAL)
    veloc = named(app, "Velocity", pyatspi.ROLE_CHECK_BOX)
    name = named(app, "Name", pyatspi.ROLE_TEXT)
    if level is None or veloc is None or name is None:
        fail("the kick window lacks Level, Velocity or Name")

    value = knob.queryValue()
    if (value.currentValue, value.minimumValue, value.maximumValue) != (decay, 0, 255):
        fail("Decay says %s in %s..%s" % (value.currentValue, value.minimumValue,
                                          value.maximumValue))
    text = readout.queryText()
    shown = text.getText(0, -1)
    if shown != "%03d" % decay:
        fail("Decay read-out shows %r" % shown)
    if name.queryText().getText(0, -1).strip() != "Thump":
        fail("the name read-out shows %r" % name.queryText().getText(0, -1))

    wanted = decay + 5
    value.currentValue = wanted
    # Kick 7, value 2: address 7 * 9 + 2 in two 7-bit bytes, the value in two.
    address = 7 * 9 + 2
    message = re.compile(bytes([0xF0, 0x31, 0x3E, 0x56]) + b"." +
                         re.escape(bytes([address >> 7, address & 0x7F, wanted >> 7,
                                          wanted & 0x7F, 0xF7])), re.S)

    def sent():
        try:
            with open(sysex_path, "rb") as f:
                return message.search(f.read()) is not None
        except OSError:
            return False
    wait_for("Decay message in " + sysex_path, sent)
    shown = wait_for("read-out following",
                     lambda: readout.queryText().getText(0, -1) == "%03d" % wanted)
    rows = overview(app)
    status = hear(app, sysex_path)
    print("PASS: menus %s; Decay %d -> %d reached the SysEx file; overview rows %s; %s"
          % (menus, decay, wanted, rows, status))


def overview(app):
    def item():
        hits = find_all(app, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM
                        and a.name.replace("&", "") == "Project Overview")
        return hits[0] if hits else None
    action = wait_for("View > Project Overview", item).queryAction()
    action.doAction(0)

    def showing(name, role):
        found = named(app, name, role)
        return found if found and found.getState().contains(pyatspi.STATE_SHOWING) else None
    search = wait_for("search field", lambda: showing("Search the project", pyatspi.ROLE_TEXT))
    tree = wait_for("overview tree", lambda: showing("Variations and kits of the project",
                                                     pyatspi.ROLE_TREE))

    def rows():
        # The first cell of a row reads the whole row; the others read as they show.
        cells = [tree.getChildAtIndex(i) for i in range(tree.childCount)]
        columns = sum(1 for c in cells if c.getRole() == pyatspi.ROLE_TABLE_COLUMN_HEADER)
        cells = [c for c in cells if c.getRole() != pyatspi.ROLE_TABLE_COLUMN_HEADER]
        return [c.name for c in cells[::max(columns, 1)]]

    def expect(wanted):
        # The bus is asynchronous: the rows follow the search a moment later, and a cell read
        # while they change may be gone already.
        seen = []
        end = time.monotonic() + 30
        while time.monotonic() < end:
            try:
                seen = rows()
            except Exception as error:
                seen = repr(error)
            if seen == wanted:
                return
            time.sleep(0.2)
        fail("overview rows %s, not %s" % (seen, wanted))

    everything = ["Snare, 2 variations", "Snare 002 Loose, used by Kit003 Bank000",
                  "Snare 005 Tight, active, unused", "Kick, 2 variations",
                  "Kick 003 Boom, active, unused", "Kick 007 Thump, used by Kit003 Bank000",
                  "Kit, 1 kit", "Kit003 Bank000 Rock"]
    expect(everything)

    editable = search.queryEditableText()
    editable.setTextContents("tight")
    expect(["Snare, 1 of 2 variations", "Snare 005 Tight, active, unused"])
    editable.setTextContents("")
    expect(everything)
    return everything


def menu_item(app, name):
    hits = find_all(app, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM
                    and a.name.replace("&", "") == name)
    return hits[0] if hits else None


def hear(app, sysex_path):
    """Midi > Play sounds the kick window's note, and Edit > Compare with Saved marks the window
    read-only until chosen again."""
    def file_has(pattern):
        try:
            with open(sysex_path, "rb") as f:
                return re.search(pattern, f.read(), re.S) is not None
        except OSError:
            return False
    wait_for("Midi > Play", lambda: menu_item(app, "Play")).queryAction().doAction(0)
    # Kick: key 36 at velocity 100, then its Note Off.
    wait_for("Note On and Off in " + sysex_path,
             lambda: file_has(rb"[\x90-\x9f]\x24\x64.*[\x80-\x8f]\x24\x40"))
    said = "the module plays Kick 003; make Kick 007 active to hear it"
    wait_for("status line %r" % said, lambda: find_all(app, lambda a: said in a.name))

    compare = wait_for("Edit > Compare with Saved", lambda: menu_item(app, "Compare with Saved"))
    caption = "saved values, read-only"

    def captioned():
        return find_all(app, lambda a: "Kick007" in a.name and caption in a.name)
    compare.queryAction().doAction(0)
    wait_for("caption %r" % caption, captioned)
    compare.queryAction().doAction(0)
    wait_for("caption back", lambda: not captioned())
    return "Play and Compare with Saved done from the menus"


if __name__ == "__main__":
    main()
