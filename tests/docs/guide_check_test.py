#!/usr/bin/env python3
"""The guide check finds what a technician would miss: a text without a row, a row without a
meaning or a what-to-do, a one-word message, and a row the HTML guide shows otherwise."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import guide_check  # noqa: E402

HEADER = "| message | meaning | what to do |\n|---|---|---|\n"


def check(code, guide, page=None):
    """The problems the check finds in a repository of one source file and one guide."""
    with tempfile.TemporaryDirectory() as repo:
        os.makedirs(os.path.join(repo, "src"))
        os.makedirs(os.path.join(repo, "docs", "guide"))
        with open(os.path.join(repo, "src", "a.cpp"), "w", encoding="utf-8") as f:
            f.write(code)
        with open(os.path.join(repo, "docs", "guide", "p.png"), "wb") as f:
            f.write(b"")
        with open(os.path.join(repo, "docs", "GUIDE.md"), "w", encoding="utf-8") as f:
            f.write("![p](guide/p.png)\n\n" + guide)
        return guide_check.problems_of(repo, page)[0]


class GuideCheck(unittest.TestCase):
    def test_rows(self):
        code = 'report("Wrong diskette!" + crlf + "Insert diskette #" + n);'
        cases = [
            # (what the guide says, the texts it lacks)
            (HEADER + '| "Wrong diskette!" / "Insert diskette #" n | not the one | insert it |\n',
             []),
            # Named in prose only, or in a table that says no meaning and no what-to-do.
            ('The box "Wrong diskette!" / "Insert diskette #" n asks again.\n',
             ["Insert diskette #", "Wrong diskette!"]),
            ('| message | when |\n|---|---|\n| "Wrong diskette!" / "Insert diskette #" | x |\n',
             ["Insert diskette #", "Wrong diskette!"]),
            # A row whose what-to-do is empty.
            (HEADER + '| "Wrong diskette!" / "Insert diskette #" n | not the one | |\n',
             ["Insert diskette #", "Wrong diskette!"]),
            # Outside the quotes of the first cell.
            (HEADER + '| Wrong diskette! / "Insert diskette #" | "Wrong diskette!" | x |\n',
             ["Wrong diskette!"]),
        ]
        for guide, lacking in cases:
            with self.subTest(guide=guide):
                problems = check(code, guide)
                found = sorted(t for t in ["Insert diskette #", "Wrong diskette!"]
                               if any(repr(t) in p for p in problems))
                self.assertEqual(found, lacking, problems)

    def test_which_literals_are_texts(self):
        code = ('a("Overflow"); b("Restart"); c("copy " + x + " to " + y); d("DriveList");\n'
                'e("archive.dat"); f(" found "); g("ERROR " + t); h("xz"); i("warning!");\n')
        problems = check(code, "")
        lacking = sorted(p.split("for ")[-1] for p in problems if " for " in p)
        self.assertEqual(lacking, ["'ERROR'", "'Overflow'", "'Restart'", "'copy'", "'warning!'"])

    def test_one_word_texts_start_a_quoted_part(self):
        code = 'a("Restart"); b("Verified " + path);'
        cases = [
            ('| "Restart" / "Verified ..." | m | w |\n', []),
            ('| "Restarting" / "Not Verified" | m | w |\n', ["Restart", "Verified"]),
        ]
        for row, lacking in cases:
            with self.subTest(row=row):
                problems = check(code, HEADER + row)
                self.assertEqual(sorted(t for t in ["Restart", "Verified"]
                                        if any(repr(t) in p for p in problems)), lacking)

    def test_the_html_shows_each_quoted_part_as_written(self):
        code = 'a("Verified " + single);'
        guide = HEADER + '| "Verified E:\\backup\\single\\\\" | m | w |\n'
        self.assertEqual(check(code, guide, '<td>"Verified E:\\backup\\single\\"</td>'), [])
        # A backslash that Markdown took for an escape.
        problems = check(code, guide, '<td>&quot;Verified E:\\backup\\single&quot;</td>')
        self.assertEqual(len(problems), 1, problems)
        self.assertIn("otherwise", problems[0])


if __name__ == "__main__":
    unittest.main()
