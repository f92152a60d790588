#!/usr/bin/env python3
"""The manual page and the user's documents promise the same things, and what
the program says: every option --help lists (the README's table), every line
the program can write on standard error (taken from the sources; the table in
docs/troubleshooting.md), and the seconds its quitting and its display limits
count. The documents' lists are checked against the program's, the manual
page's against the documents'.

Usage: promises_test.py SOURCE_DIR PROGRAM
"""
import re
import subprocess
import sys
from pathlib import Path

root = Path(sys.argv[1])
program = sys.argv[2]
readme = (root / "README.md").read_text()
troubleshooting = (root / "docs/troubleshooting.md").read_text()
manual = (root / "docs/vorlex.6").read_text()
failures = []


def section(text, start, end):
    """The text from the first line matching start up to one matching end."""
    found = re.search(start + r".*?(?=" + end + ")", text, re.S | re.M)
    if not found:
        failures.append(f"no section /{start}/")
        return ""
    return found.group(0)


def roman(line):
    """A manual page's line as it reads: macro arguments joined, escapes
    resolved, the italic arguments of .BI/.IR written <like this>."""
    macro = re.match(r"\.(B|I|BI|IB|BR|RB|IR|RI)\s+(.*)", line)
    if not macro:
        return line
    words = re.findall(r'"([^"]*)"|(\S+)', macro.group(2))
    words = [quoted or bare for quoted, bare in words]
    italic = [font == "I" for font in macro.group(1)]
    if len(italic) == 1:
        return " ".join(f"<{w}>" if italic[0] else w for w in words)
    return "".join(f"<{w}>" if italic[i % 2] else w for i, w in enumerate(words))


def unescape(text):
    return text.replace(r"\(dq", '"').replace(r"\-", "-").replace(r"\(aq", "'").replace(r"\(ga", "`")


def head(line):
    """What a standard-error line says before its first particular: the
    words after "Vorlex: " up to a colon, quote, parenthesis or placeholder."""
    return re.split(r'[:"(<%\\]', line, maxsplit=1)[0].strip()


def compare(what, expected, seen, source):
    for missing in sorted(expected - seen):
        failures.append(f"{what}: {source} lacks {missing!r}")


# Options: what --help lists, against the README's table and the manual's
# OPTIONS; and the manual's against the README's.
usage = subprocess.run([program, "--help"], capture_output=True, text=True, check=True).stdout
options = set(re.findall(r"^\s+(--[a-z-]+)", usage, re.M))
readme_options = set(re.findall(r"^\| `(--[a-z-]+)", section(readme, r"^#+ Options", r"^#"), re.M))
manual_options = set(
    re.findall(r"^\.TP\n\.B\w?\s+(--[a-z-]+)", unescape(section(manual, r"^\.SH OPTIONS", r"^\.SH")), re.M))
compare("option", options, readme_options, "README")
compare("option", readme_options, options, "--help")
compare("option", readme_options, manual_options, "the manual page")
compare("option", manual_options, readme_options, "README")

# Standard-error lines: the troubleshooting table, the manual's tagged
# paragraphs.
doc_lines = {head(line) for line in re.findall(r"`Vorlex: ([^`]+)`",
                                               section(troubleshooting, r"^## Standard error", r"^## "))}
manual_lines = set()
for line in section(manual, r'^\.SH "STANDARD ERROR"', r"^\.SH").splitlines():
    text = unescape(roman(line))
    if line.startswith(".") and text.startswith("Vorlex: "):
        manual_lines.add(head(text[len("Vorlex: "):]))
compare("standard-error line", doc_lines, manual_lines, "the manual page")
compare("standard-error line", manual_lines, doc_lines, "docs/troubleshooting.md")

# What the programs' sources can write: the actions start-up fails with and
# the lines written whole. Debug builds' own reports are left out, and so is
# the web page's platform (src/web), whose lines show on the page. Windows's
# own files (src/windows, src/windows) may also write the lines that
# the troubleshooting page's Windows section lists.
windows_files = (root / "src" / "windows", root / "src" / "shell" / "windows")
said = set()
said_on_windows = set()
for source in sorted((root / "src").rglob("*.cpp")):
    if (root / "src" / "web") in source.parents:
        continue
    found = said_on_windows if any(folder in source.parents for folder in windows_files) else said
    text = re.sub(r"#ifdef VORLEX_GL_CHECK.*?#else", "", source.read_text(), flags=re.S)
    lines = text.splitlines()
    for number, line in enumerate(lines):
        if re.search(r"\b(startFail|openFail)\(|\baction\b", line):
            for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', line + " " + lines[min(number + 1, len(lines) - 1)]):
                if literal.startswith("cannot "):
                    found.add(head(literal))
        for literal in re.findall(r'"Vorlex: ((?:[^"\\]|\\.)*)"', line):
            if head(literal):
                found.add(head(literal))
if len(said) < 10:
    failures.append(f"found only {len(said)} standard-error lines in the sources: {sorted(said)}")
if not said_on_windows:
    failures.append("found no standard-error line in Windows's own sources")
compare("standard-error line the program writes", said, doc_lines, "docs/troubleshooting.md")
windows_lines = {head(line) for line in re.findall(r"`Vorlex: ([^`]+)`",
                                                   section(troubleshooting, r"^## On Windows", r"^## "))}
compare("standard-error line the Windows program writes", said_on_windows, doc_lines | windows_lines,
        "docs/troubleshooting.md")

# The seconds the program counts, as the user's documents and the manual page
# give them; the constants are found wherever under src/ they are defined.
sources = "\n".join(path.read_text() for path in sorted((root / "src").rglob("*.[ch]*")))


def constant(name):
    found = re.search(name + r" = (\d+);", sources)
    if not found:
        failures.append(f"no {name} under src/")
        return 0
    return int(found.group(1))


stuck = constant("kStuckQuitMs") // 1000
probe = constant("kProbeSeconds")
opening = constant("kOpenSeconds")
for name, text in (("the README with docs/troubleshooting.md", readme + troubleshooting),
                   ("the manual page", manual)):
    flat = " ".join(unescape(text).split())
    for promise in (f"waited {stuck} seconds", f"within {probe} seconds", f"{opening} seconds to set up"):
        if promise not in flat:
            failures.append(f"{name}: nowhere says {promise!r}")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(options)} options, {len(doc_lines)} standard-error lines, "
      f"{len(said)} from the sources; {len(failures)} failed")
sys.exit(1 if failures else 0)
