#!/usr/bin/env bash
# The help page shipped beside Ostrel.exe: present, plain ASCII with UTF-8 declared, one
# self-contained file (no scripts, nothing fetched or linked from elsewhere), and every
# link inside the page landing on a section. What the page says about the program's own
# tables (function types, macro words, help contexts) is checked by the unit test
# HelpPageContents.
#   check_help_page.sh <ostrel.htm>
set -euo pipefail
page=$1
[[ -f "$page" ]] || { echo "FAIL: no help page at $page"; exit 1; }
python3 - "$page" <<'PY'
import re, sys
page = sys.argv[1]
data = open(page, "rb").read()
faults = []
bad = sorted({b for b in data if b > 126 or (b < 32 and b not in (9, 10, 13))})
if bad:
    faults.append("bytes outside printable ASCII: %s" % bad[:8])
text = data.decode("ascii", "replace")
if not re.search(r'<meta charset="utf-8">', text, re.I):
    faults.append("no UTF-8 charset declared")
if re.search(r"<script|<[^>]*\son[a-z]+\s*=|javascript:", text, re.I):
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
for f in faults:
    print("FAIL: %s: %s" % (page, f))
if faults:
    sys.exit(1)
print("help page %s: %d sections, %d links" % (page, len(ids), len(re.findall(r'href="#', text))))
PY
