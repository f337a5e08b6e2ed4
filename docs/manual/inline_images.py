#!/usr/bin/env python3
"""Writes the user manual as one file: every <img src="NAME.png"> of the page
becomes a data: URI of that picture, so olvex-help.html reads offline alone.

    inline_images.py SOURCE.html OUTPUT.html
"""
import base64
import os
import re
import sys

IMG_SRC = re.compile(r'(<img\b[^>]*?\bsrc=")([^":]+\.png)(")')


def inline(html, folder):
    missing = []

    def data_uri(m):
        path = os.path.join(folder, m.group(2))
        try:
            with open(path, "rb") as f:
                data = base64.b64encode(f.read()).decode("ascii")
        except OSError:
            missing.append(m.group(2))
            return m.group(0)
        return m.group(1) + "data:image/png;base64," + data + m.group(3)

    out = IMG_SRC.sub(data_uri, html)
    return out, missing


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    with open(source, encoding="utf-8") as f:
        html = f.read()
    out, missing = inline(html, os.path.dirname(os.path.abspath(source)))
    if missing:
        # A picture the page names but the folder lacks would show as a broken image.
        sys.stderr.write("%s: no picture %s beside it\n" % (source, ", ".join(missing)))
        return 1
    # Written beside and renamed, so a failed run never leaves half a manual.
    tmp = output + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(out)
    os.replace(tmp, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
