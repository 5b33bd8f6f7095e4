#!/usr/bin/env python3
"""Every text the program can show a technician appears in the technician's guide.

    guide_check.py REPO        (checks REPO/docs/GUIDE.md against REPO/src)

The texts are the string literals of the program's sources (comments and includes skipped,
adjacent literals joined as the compiler joins them) that hold two words with a blank between; each of their lines
must appear in the guide word for word (runs of blanks count as one). Texts that no person sees
are listed in EXEMPT with the reason. The pictures the guide shows must exist beside it. Prints
what is missing; exit status 1 when anything is.
"""
import os
import re
import sys

# Sources that are not the programs' (build tools), and velt-headless's script errors, which
# docs/HEADLESS.md describes.
SKIPPED_FILES = {"src/frontends/qt/make_icon.cpp", "src/frontends/qt/make_pictures.cpp"}
SKIPPED_FOLDERS = ("src/frontends/headless/",)

EXEMPT = {
    # Programming faults, never met by a user.
    "no main window installed", "no drive table installed", "file table entry",
    # velt-headless's script error for a question with no answer queued (docs/HEADLESS.md).
    'no answer queued for the question "',
    # Font families asked of the system.
    "Liberation Sans", "DejaVu Sans Condensed", "Nimbus Sans", "Segoe UI", "MS Shell Dlg",
    # Lines of the card's archive.dat, not messages.
    "FILE: 1 0 1", "NUMDISKS: 1",
    # The file dialog's filters.
    "Diskette images (*.img *.ima *.dsk *.vfd *.flp);;All files (*)",
    "Diskette images (*.img;*.ima;*.dsk;*.vfd;*.flp)\0*.img;*.ima;*.dsk;*.vfd;*.flp\0"
    "All files (*.*)\0*.*\0",
}
# The command-line usage (the manual pages list it).
EXEMPT_PATTERNS = [re.compile(r"^(Usage:|  -|velt-converter:? |: moves a switching|"
                              r"no arguments are taken|unknown option|Compact Flash card\.$)")]

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "0": "\0", "\\": "\\", '"': '"', "'": "'"}


def literals(code):
    """The string literals of C++ source text, adjacent ones joined, comments skipped."""
    out = []
    i, n = 0, len(code)
    pending = None  # the literal being joined, and whether only blanks followed it
    while i < n:
        c = code[i]
        if code.startswith("//", i):
            i = code.find("\n", i)
            i = n if i < 0 else i
            continue
        if code.startswith("/*", i):
            i = code.find("*/", i + 2)
            i = n if i < 0 else i + 2
            continue
        if c == "'":
            j = i + 1
            while j < n and code[j] != "'":
                j += 2 if code[j] == "\\" else 1
            i = j + 1
            continue
        m = re.match(r'(?:u8|u|U|L)?R"([^(\s]*)\(', code[i:])
        if m and (i == 0 or not (code[i - 1].isalnum() or code[i - 1] == "_")):
            end = code.find(")" + m.group(1) + '"', i + m.end())
            text = code[i + m.end():end]
            pending = text if pending is None else pending + text
            i = end + len(m.group(1)) + 2
            continue
        m = re.match(r'(?:u8|u|U|L)?"', code[i:])
        if m and (i == 0 or not (code[i - 1].isalnum() or code[i - 1] == "_")):
            j = i + m.end()
            text = []
            while j < n and code[j] != '"':
                if code[j] == "\\" and j + 1 < n:
                    text.append(ESCAPES.get(code[j + 1], code[j + 1]))
                    j += 2
                else:
                    text.append(code[j])
                    j += 1
            pending = "".join(text) if pending is None else pending + "".join(text)
            i = j + 1
            continue
        if not c.isspace() and pending is not None:
            out.append(pending)
            pending = None
        i += 1
    if pending is not None:
        out.append(pending)
    return out


def normal(text):
    return " ".join(text.split())


def message_lines(repo):
    found = {}
    src = os.path.join(repo, "src")
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, repo).replace(os.sep, "/")
            if rel in SKIPPED_FILES or rel.startswith(SKIPPED_FOLDERS):
                continue
            with open(path, encoding="utf-8") as f:
                code = re.sub(r"(?m)^\s*#\s*include[^\n]*", "", f.read())
                for text in literals(code):
                    if text in EXEMPT or any(p.search(text) for p in EXEMPT_PATTERNS):
                        continue
                    for line in re.split(r"\r\n|\n|\r", text):
                        if re.search(r"[A-Za-z]{2,}\S*\s+\S*[A-Za-z]{2,}", line):
                            found.setdefault(normal(line), rel)
    return found


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else "."
    with open(os.path.join(repo, "docs", "GUIDE.md"), encoding="utf-8") as f:
        text = f.read()
    guide = normal(text)
    texts = message_lines(repo)
    missing = [(where, line) for line, where in texts.items() if line not in guide]
    for where, line in sorted(missing):
        print("%s: not in docs/GUIDE.md: %r" % (where, line))
    pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", text)
    lost = [p for p in pictures if not os.path.isfile(os.path.join(repo, "docs", p))]
    for picture in lost:
        print("docs/GUIDE.md: no picture docs/%s" % picture)
    print("%d message texts, %d missing from the guide; %d pictures, %d missing"
          % (len(texts), len(missing), len(pictures), len(lost)))
    return 1 if missing or lost or not texts or not pictures else 0


if __name__ == "__main__":
    sys.exit(main())
