#!/usr/bin/env bash
# The help page shipped beside Ostrel.exe: present, plain ASCII with UTF-8 declared, one
# self-contained file (no scripts, nothing fetched or linked from elsewhere), every
# link inside the page landing on a section, the sections the help buttons ask for, and
# the twenty function names and the macro words the program itself uses.
#   check_help_page.sh <ostrel.htm> [<source root>]
set -euo pipefail
page=$1
root=${2:-$(cd "$(dirname "$0")/../.." && pwd)}
[[ -f "$page" ]] || { echo "FAIL: no help page at $page"; exit 1; }
python3 - "$page" "$root" <<'PY'
import re, sys
page, root = sys.argv[1], sys.argv[2]
data = open(page, "rb").read()
faults = []
bad = sorted({b for b in data if b > 126 or (b < 32 and b not in (9, 10, 13))})
if bad:
    faults.append("bytes outside printable ASCII: %s" % bad[:8])
text = data.decode("ascii", "replace")
if not re.search(r'<meta charset="utf-8">', text, re.I):
    faults.append("no UTF-8 charset declared")
if re.search(r"<script|\bon[a-z]+\s*=|javascript:", text, re.I):
    faults.append("holds a script")
for attr, value in re.findall(r'\b(src|href|action|data)\s*=\s*"([^"]*)"', text, re.I):
    if attr.lower() != "href" or not value.startswith("#"):
        faults.append("reaches outside the page: %s=\"%s\"" % (attr, value))
if re.search(r"url\(|@import", text, re.I):
    faults.append("its style fetches something")
ids = re.findall(r'\bid="([^"]+)"', text)
for dup in sorted({i for i in ids if ids.count(i) > 1}):
    faults.append("id \"%s\" used twice" % dup)
for target in sorted(set(re.findall(r'href="#([^"]*)"', text))):
    if target not in ids:
        faults.append("link to #%s, which is no section" % target)
for context in ("context-99", "context-40"):
    if context not in ids:
        faults.append("no section %s for the help buttons" % context)

# The functions, by their exact names, in the order the chooser lists them.
catalogue = open(root + "/catalogue/FunCatalogue.cpp").read()
names = {int(i): n for i, n in re.findall(r'\{(\d+), "ft\w+", "([^"]+)"', catalogue)}
order = [int(i) for i in re.search(r"kChooserOrder = \{([^}]*)\}",
                                   open(root + "/catalogue/FunCatalogue.h").read())[1].split(",")]
if len(names) != 20 or len(order) != 20:
    faults.append("could not read the catalogue (%d names, %d in order)" % (len(names), len(order)))
terms = [t.strip() for t in re.findall(r"<dt>([^<]*)</dt>",
                                       text[text.find('id="functions"'):])]
listed = [t for t in terms if t in {n.strip() for n in names.values()}]
wanted = [names[i].strip() for i in order if i in names]
if listed[:20] != wanted:
    faults.append("functions listed as %s, expected %s" % (listed[:20], wanted))

# Every key word of the macro engine appears in braces.
engine = open(root + "/macro/Sendkeys.cpp").read()
words = set(re.findall(r'\{"([A-Z]+)", 0x', engine))
words |= set(re.findall(r'word == "([A-Z@]+)"', engine))
if len(words) < 25:
    faults.append("could not read the macro words (%d)" % len(words))
for w in sorted(words):
    if "{%s" % w not in text.upper():
        faults.append("macro word %s missing" % w)
for f in faults:
    print("FAIL: %s: %s" % (page, f))
if faults:
    sys.exit(1)
print("help page %s: %d sections, %d functions, %d macro words" % (page, len(ids), len(listed), len(words)))
PY
