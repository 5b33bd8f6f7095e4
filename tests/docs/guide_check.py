#!/usr/bin/env python3
"""Every text the program can show a technician has a row in the technician's guide that says
what it means and what to do.

    guide_check.py REPO [GUIDE.html]   (checks REPO/docs/GUIDE.md against REPO/src, and the
                                        guide made from it as HTML when given)

The texts are the string literals of the program's sources (comments and includes skipped,
adjacent literals joined as the compiler joins them), line by line: a line with two words or
more, and a one-word line that is a message or starts one ("Overflow", "Restart", "Error!",
"Verified ", "copy "); glue between parts of a message (" to ", " found ") and names that are no
text ("DriveList", "archive.dat") are not texts. Texts that no person sees are listed in EXEMPT
with the reason.

A row is a line of a Markdown table whose header names a "meaning" and a "what to do" column,
both filled in. The texts go in its first cell, each in double quotes; what varies stays outside
them ("Wrong Archive ID at diskette #" n). A text of two words or more must lie within one
quoted part; a one-word text must be the first word of one.

The pictures the guide shows must exist beside it, and the HTML must show every quoted part of
the rows as the guide gives it (a Markdown escape would change a path's backslashes). Prints
what is missing; exit status 1 when anything is.
"""
import html
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
    "Liberation Sans", "DejaVu Sans Condensed", "Nimbus Sans", "Segoe UI", "MS Shell Dlg", "Arial", "Arimo",
    "Helvetica",
    # Lines of the card's archive.dat and of the store's map files, not messages.
    "FILE: 1 0 1", "NUMDISKS: 1", "# VELT diskette map", "bytes ", "used ",
    # Names of the desktop's disk service (udisks2) and of a Win32 window class.
    "Device", "Drive", "Mount", "Unmount", "Optical", "Removable", "Button",
    # Folder names in the state folder on Windows ("Where things are" gives the paths).
    "Logs", "Diskettes", "Previous",
    # The file dialog's filters.
    "Diskette images (*.img *.ima *.dsk *.vfd *.flp);;All files (*)",
    "Diskette images (*.img;*.ima;*.dsk;*.vfd;*.flp)\0*.img;*.ima;*.dsk;*.vfd;*.flp\0"
    "All files (*.*)\0*.*\0",
}
# The command-line usage (the manual pages list it).
EXEMPT_PATTERNS = [re.compile(r"^(Usage:|  -|velt-converter:? |: moves a switching|"
                              r"no arguments are taken|unknown option|Compact Flash card\.$|"
                              r"Options:$)")]

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "0": "\0", "\\": "\\", '"': '"', "'": "'"}

# A word of a message: two letters or more in a row.
WORD = re.compile(r"[A-Za-z]{2,}")
# A one-word line that is a message or begins one: a capitalised word ("Overflow", "Verified ",
# "Diskette #", "Error!"), a prefix in capitals followed by a blank ("ERROR ", "CD-ROM "), or a
# lower-case word that a blank continues ("copy "). Leading blanks mark glue inside a message.
ONE_WORD = re.compile(r"^(?:[A-Z][a-z]+(?: ?#|[!?.:])?\s*|[A-Z][A-Z-]+ |[a-z]+!|[a-z]+ )$")


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


def is_text(line):
    """Whether a line of a literal is a text a technician reads."""
    words = [w for w in line.split() if WORD.search(w)]
    if len(words) >= 2:
        return True
    return len(words) == 1 and ONE_WORD.match(line) is not None


def texts_of(code):
    """The texts of one source file, each once."""
    code = re.sub(r"(?m)^\s*#\s*include[^\n]*", "", code)
    found = []
    for text in literals(code):
        if text in EXEMPT or any(p.search(text) for p in EXEMPT_PATTERNS):
            continue
        for line in re.split(r"\r\n|\n|\r", text):
            if is_text(line) and normal(line) not in found:
                found.append(normal(line))
    return found


def message_texts(repo):
    """Every text of the programs' sources, with the file it first appears in."""
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
                for text in texts_of(f.read()):
                    found.setdefault(text, rel)
    return found


def cells(line):
    """The cells of a Markdown table line, an escaped "|" kept as text."""
    parts = re.split(r"(?<!\\)\|", line.strip())
    if parts and parts[0] == "":
        parts = parts[1:]
    if parts and parts[-1] == "":
        parts = parts[:-1]
    return [p.strip() for p in parts]


def unescaped(markdown):
    """Text as Markdown shows it: a backslash before a punctuation mark escapes the mark."""
    return re.sub(r"\\([!-/:-@\[-`{-~])", r"\1", markdown)


class Row:
    def __init__(self, first, complete, number):
        self.parts = [normal(unescaped(p)) for p in re.findall(r'"((?:[^"\\\n]|\\.)*)"', first)]
        self.complete = complete
        self.number = number

    def holds(self, text):
        if len([w for w in text.split() if WORD.search(w)]) >= 2:
            return any(text in part for part in self.parts)
        return any(part == text or part.startswith(text + " ") for part in self.parts)


def rows_of(guide):
    """The rows of the guide's message tables (those with a meaning and a what-to-do column)."""
    rows = []
    lines = guide.split("\n")
    k = 0
    while k < len(lines):
        if not (lines[k].lstrip().startswith("|") and k + 1 < len(lines)
                and re.match(r"^\s*\|(\s*:?-+:?\s*\|)+\s*$", lines[k + 1])):
            k += 1
            continue
        header = [c.lower() for c in cells(lines[k])]
        k += 2
        wanted = [header.index(h) for h in ("meaning", "what to do") if h in header]
        while k < len(lines) and lines[k].lstrip().startswith("|"):
            row = cells(lines[k])
            if len(wanted) == 2 and row:
                complete = all(i < len(row) and row[i] for i in wanted)
                rows.append(Row(row[0], complete, k + 1))
            k += 1
    return rows


def missing_rows(texts, rows):
    """(text, why) for each text without a complete row."""
    out = []
    for text in texts:
        if any(r.complete and r.holds(text) for r in rows):
            continue
        partial = [r.number for r in rows if r.holds(text)]
        why = ("its row (line %s) lacks a meaning or a what-to-do" % partial[0] if partial
               else "no row")
        out.append((text, why))
    return out


def html_text(page):
    page = re.sub(r"(?s)<(script|style)\b.*?</\1>", " ", page)
    return normal(html.unescape(re.sub(r"<[^>]+>", " ", page)))


def problems_of(repo, page=None):
    """What the guide lacks, one line each; `page` is the guide made from it as HTML."""
    with open(os.path.join(repo, "docs", "GUIDE.md"), encoding="utf-8") as f:
        guide = f.read()
    texts = message_texts(repo)
    rows = rows_of(guide)
    problems = []
    for text, why in missing_rows(list(texts), rows):
        problems.append("%s: %s in docs/GUIDE.md for %r" % (texts[text], why, text))
    pictures = re.findall(r"!\[[^\]]*\]\(([^)]+)\)", guide)
    for picture in pictures:
        if not os.path.isfile(os.path.join(repo, "docs", picture)):
            problems.append("docs/GUIDE.md: no picture docs/%s" % picture)
    if page is not None:
        shown = html_text(page)
        for row in rows:
            for part in row.parts:
                if not re.search('" ?%s ?"' % re.escape(part), shown):
                    problems.append("the HTML guide shows line %d's %r otherwise" % (row.number,
                                                                                  part))
    if not texts or not rows or not pictures:
        problems.append("no texts, rows or pictures found: %d, %d, %d"
                        % (len(texts), len(rows), len(pictures)))
    return sorted(problems), len(texts), len(rows)


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else "."
    page = None
    if len(sys.argv) > 2:
        with open(sys.argv[2], encoding="utf-8") as f:
            page = f.read()
    problems, texts, rows = problems_of(repo, page)
    for problem in problems:
        print(problem)
    print("%d message texts, %d rows; %d problems" % (texts, rows, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
