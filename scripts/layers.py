#!/usr/bin/env python3
"""Checks the includes of src/ against the layers of docs/DESIGN.md: a layer includes only
the layers below it, a front end no other front end, and toolkit and OS headers stay in their
folders. Below wizard/, only ui/ reaches the window itself (`ui::window()`): the others report
through ui's procedures. What a menu entry does is the wizard's: no front end switches over the
menu's entries (a case label or a comparison naming one).

    python3 scripts/layers.py [REPO]      (default: the current directory)

Prints one line per include that crosses a layer the wrong way, a toolkit or OS header used
outside its folder, or a call of the window below wizard/, and a count at the end. Exit status 0 when there is none, 1 otherwise.
"""
import os
import re
import sys

# Bottom first; a layer may include itself and the layers before it.
LAYERS = ["state", "platform", "ui", "fs", "diskset", "rebuild", "wizard", "frontends"]
# Folders whose headers only their own folder may include.
PRIVATE = ["platform/posix", "platform/linux", "platform/win32", "platform/fat"]
# System headers that belong to one place only.
SYSTEM = [
    (re.compile(r"^Q[A-Za-z]+(/|$)|^Qt[A-Za-z]+/"), ["frontends/qt"], "Qt"),
    (re.compile(r"^(windows|winioctl|commctrl|shlobj|shellapi|objbase|winbase|fileapi)\.h$", re.I),
     ["platform/win32", "frontends/win32"], "Win32"),
    (re.compile(r"^(unistd|dirent|fcntl|pwd|grp|poll|dlfcn|termios)\.h$|^sys/|^linux/|^mntent\.h$"),
     ["platform/posix", "platform/linux"], "POSIX"),
]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The window's controls, reached directly; the layers below this one leave that to ui/.
WINDOW_CALL = re.compile(r"\bui::window\b")
WINDOW_LAYER = LAYERS.index("wizard")
# A front end choosing by menu entry: `using enum ...Menu`, `case Menu::x`, `== Menu::x`.
MENU_SWITCH = re.compile(r"using\s+enum\s+[\w:]*\bMenu\b|\bcase\s+[\w:]*\bMenu::|[=!]=\s*[\w:]*\bMenu::|\bMenu::\w+\s*[=!]=")


def folder_of(rel):
    """'src/fs/copy.cpp' -> 'fs'; 'src/frontends/qt/x.cpp' -> 'frontends/qt'."""
    parts = rel.split("/")[1:-1]
    if not parts:
        return ""
    if parts[0] in ("frontends", "platform") and len(parts) > 1:
        return parts[0] + "/" + parts[1]
    return parts[0]


def layer_of(folder):
    top = folder.split("/")[0]
    return LAYERS.index(top) if top in LAYERS else None


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else "."
    src = os.path.join(repo, "src")
    if not os.path.isdir(src):
        print("no src/ folder in %s" % repo)
        return 1
    problems = []
    for dirpath, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                continue
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, repo).replace(os.sep, "/")
            here = folder_of(rel)
            here_layer = layer_of(here)
            if here_layer is None:
                problems.append("%s: folder src/%s is not a layer of DESIGN.md" % (rel, here))
                continue
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    code = line.split("//", 1)[0]
                    if here_layer < WINDOW_LAYER and here != "ui" and WINDOW_CALL.search(code):
                        problems.append("%s:%d: %s calls ui::window(), below wizard/" % (rel, number, here))
                    if here.startswith("frontends/") and MENU_SWITCH.search(code):
                        problems.append("%s:%d: %s chooses by menu entry; that is the wizard's" % (rel, number, here))
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    quote, target = m.groups()
                    where = "%s:%d" % (rel, number)
                    if quote == "<":
                        for pattern, allowed, what in SYSTEM:
                            if pattern.search(target) and not any(here == a or here.startswith(a + "/") for a in allowed):
                                problems.append("%s: %s header <%s> outside %s" % (where, what, target, " and ".join(allowed)))
                        continue
                    there = target.rsplit("/", 1)[0] if "/" in target else here
                    if there.split("/")[0] in ("frontends", "platform") and there.count("/") > 1:
                        there = "/".join(there.split("/")[:2])
                    there_layer = layer_of(there)
                    if there_layer is None:
                        continue  # a header of the same folder, or one from outside src/
                    if there_layer > here_layer:
                        problems.append("%s: %s includes %s, a layer above it" % (where, here, target))
                    elif there.startswith("frontends/") and there != here:
                        problems.append("%s: %s includes another front end's %s" % (where, here, target))
                    for private in PRIVATE:
                        if there == private and here != private:
                            problems.append("%s: %s includes %s, private to %s" % (where, here, target, private))
    for p in problems:
        print(p)
    print("%d include(s) or call(s) against the layers" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
