#!/usr/bin/env python3
"""Turns the CHANGELOG into the Debian changelog of the package or the release list of the AppStream data.

Usage: changelog.py debian CHANGELOG PACKAGE MAINTAINER OUT
       changelog.py appstream CHANGELOG TEMPLATE OUT   (the template's line holding @RELEASES@ is replaced)
"""
import datetime
import re
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^Ver\. (\S+) \S+ (\d\d)\.(\d\d)\.(\d{4})\s*$")


def releases(path):
    """The releases of the CHANGELOG, newest first: (version, date, [lines])."""
    result = []
    with open(path, encoding="utf-8") as changelog:
        for line in changelog:
            heading = HEADING.match(line)
            if heading:
                version, day, month, year = heading.groups()
                result.append((version, datetime.date(int(year), int(month), int(day)), []))
            elif line.strip():
                if not result:
                    sys.exit(f"{path}: text before the first 'Ver.' line: {line.strip()}")
                result[-1][2].append(line.strip())
    if not result:
        sys.exit(f"{path}: no 'Ver. <version> – <dd.mm.yyyy>' line")
    return result


def debian(changes, package, maintainer):
    out = []
    for index, (version, date, lines) in enumerate(changes):
        out.append(f"{package} ({version}) unstable; urgency=medium\n\n")
        for line in lines:
            out.append(textwrap.fill(line, width=78, initial_indent="  * ", subsequent_indent="    ") + "\n")
        # Noon UTC, as the CHANGELOG has the day only, an hour later for each older release of the same day
        # (each entry must be newer than the one below it); Python's C locale gives English day names.
        earlier = sum(1 for _, other, _ in changes[index + 1 :] if other == date)
        stamp = datetime.datetime(date.year, date.month, date.day, min(12 + earlier, 23), tzinfo=datetime.timezone.utc)
        out.append(f"\n -- {maintainer}  {stamp.strftime('%a, %d %b %Y %H:%M:%S %z')}\n\n")
    return "".join(out).rstrip("\n") + "\n"


def appstream(changes, template):
    items = []
    for version, date, lines in changes:
        items.append(f'    <release version="{escape(version)}" date="{date.isoformat()}">\n')
        items.append("      <description>\n        <ul>\n")
        items.extend(f"          <li>{escape(line)}</li>\n" for line in lines)
        items.append("        </ul>\n      </description>\n    </release>\n")
    with open(template, encoding="utf-8") as source:
        text = source.read()
    lines = text.splitlines(keepends=True)
    marked = [i for i, line in enumerate(lines) if "@RELEASES@" in line]
    if len(marked) != 1:
        sys.exit(f"{template}: needs exactly one line with @RELEASES@")
    lines[marked[0]] = "".join(items)
    return "".join(lines)


def main(argv):
    if len(argv) == 6 and argv[1] == "debian":
        text = debian(releases(argv[2]), argv[3], argv[4])
    elif len(argv) == 5 and argv[1] == "appstream":
        text = appstream(releases(argv[2]), argv[3])
    else:
        sys.exit(__doc__)
    with open(argv[-1], "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main(sys.argv)
