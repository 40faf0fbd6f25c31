#!/usr/bin/env python3
"""The layer check fails, naming file, line and edge, on planted includes
that break the table, and passes on a tree that keeps it."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

source = pathlib.Path(__file__).resolve().parents[2]
script = source / "scripts" / "check-layers.py"


def run(root):
    result = subprocess.run([sys.executable, str(script), "--root", str(root)], capture_output=True, text=True)
    return result.returncode, result.stdout


def tree(files):
    root = pathlib.Path(tempfile.mkdtemp(prefix="layers-"))
    (root / "docs").mkdir()
    shutil.copy(source / "docs" / "layers.md", root / "docs" / "layers.md")
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)
    return root


failures = []


def expect(name, files, code, lines):
    root = tree(files)
    try:
        got_code, out = run(root)
        got = sorted(l for l in out.splitlines() if not l.startswith("check-layers:"))
        if got_code != code or got != sorted(lines):
            failures.append(f"{name}: exit {got_code}, printed {got}; wanted exit {code}, {sorted(lines)}")
    finally:
        shutil.rmtree(root)


# Downward and sideways edges inside a layer are fine; so are includes of
# what a used layer uses in turn.
expect("keeps the table", {
    "ui/classlib/Forms.cpp": '#include "ui/classlib/Controls.h"\n#include "ui/windowing/Windows.h"\n#include "gfx/Bitmap.h"\n',
    "skin/controls/SkinCtrls.cpp": '#include "skin/form/SkinForm.h"\n#include "ui/stdcontrols/StdCtrls.h"\n',
    "platform/x11/X11Window.cpp": '#include <X11/Xlib.h>\n#include "platform/linux/ArpResolverLinux.h"\n',
    "tests/x11/Bus.cpp": '#include <systemd/sd-bus.h>\n#include "app/Unit1.h"\n',
}, 0, [])

# Upward edges, named with file, line and edge.
expect("upward includes", {
    "ui/windowing/Windows.cpp": '#include "ui/windowing/Desktop.h"\n\n#include "ui/classlib/Controls.h"\n',
    "ui/classlib/Forms.Properties.cpp": '#include "ui/stdcontrols/StdCtrls.h"\n',
    "skin/form/SkinForm.cpp": '#include "skin/controls/SkinCtrls.h"\n',
    "core/Stream.cpp": '#include "gfx/Bitmap.h"\n',
}, 1, [
    "ui/windowing/Windows.cpp:3: ui/windowing -> ui/classlib (ui/classlib/Controls.h)",
    "ui/classlib/Forms.Properties.cpp:1: ui/classlib -> ui/stdcontrols (ui/stdcontrols/StdCtrls.h)",
    "skin/form/SkinForm.cpp:1: skin/form -> skin/controls (skin/controls/SkinCtrls.h)",
    "core/Stream.cpp:1: core -> gfx (gfx/Bitmap.h)",
])

# A backend's system headers anywhere else.
expect("system headers outside their backend", {
    "ui/windowing/Input.cpp": '#include <X11/Xlib.h>\n',
    "tray/TrayIcon.cpp": '  #  include <dbus/dbus.h>\n',
    "platform/ArpResolver.cpp": '#include <linux/rtnetlink.h>\n',
    "app/Ostvane.cpp": '#include <windows.h>\n#include <WinSock2.h>\n',
}, 1, [
    "ui/windowing/Input.cpp:1: ui/windowing -> X11 system header (X11/Xlib.h)",
    "tray/TrayIcon.cpp:1: tray -> D-Bus system header (dbus/dbus.h)",
    "platform/ArpResolver.cpp:1: platform -> netlink system header (linux/rtnetlink.h)",
    "app/Ostvane.cpp:1: app -> Win32 system header (windows.h)",
    "app/Ostvane.cpp:2: app -> Win32 system header (WinSock2.h)",
])

for failure in failures:
    print("FAIL", failure)
print(f"{3 - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
