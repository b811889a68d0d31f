#!/usr/bin/env bash
# The DXF export read by programs that are not ours, on the sign plan of the fixtures and
# on the small synthetic plan: ezdxf's audit finds no error, GDAL's DXF driver reads as
# many LINE, CIRCLE and TEXT entities as the file holds, and LibreCAD's converter makes a
# page of it that is not blank; texts typed in the program that the file's code page
# cannot hold as they are reach both readers with their stand-ins, and percent signs as
# typed. Skips (code 77) only when one of the readers is missing.
# usage: dxf_check.sh VELMORA_DXF SIGNS_PLAN
set -uo pipefail
tool=$1
signs=$2
# Debian's ezdxf belongs to Debian's python, whatever python3 comes first on the PATH.
py=/usr/bin/python3
missing=()
"$py" -c "import ezdxf" 2>/dev/null || missing+=("python3-ezdxf")
command -v ogrinfo >/dev/null || missing+=("gdal-bin (ogrinfo)")
command -v librecad >/dev/null || missing+=("librecad")
command -v xvfb-run >/dev/null || missing+=("xvfb (xvfb-run)")
command -v pdftoppm >/dev/null || missing+=("poppler-utils (pdftoppm)")
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: not installed: ${missing[*]} (scripts/deps.sh installs them)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

check() {   # name, then the arguments of the tool before the output file
    local name=$1; shift
    local dxf="$work/$name.dxf"
    if ! "$tool" "$@" "$dxf"; then fail "$name: the export failed"; return; fi
    # What the file holds: the entities after each "  0".
    local ours
    ours=$(tr -d '\r' < "$dxf" | awk 'prev == "  0" && ($0 == "LINE" || $0 == "CIRCLE" || $0 == "TEXT") { c[$0]++ }
        { prev = $0 } END { printf "%d %d %d", c["LINE"], c["CIRCLE"], c["TEXT"] }')
    echo "$name: LINE CIRCLE TEXT written: $ours"
    [ "$ours" != "0 0 0" ] || fail "$name: no entities"
    # ezdxf: no audit error, the same entities in the model space.
    local ez
    ez=$("$py" - "$dxf" <<'PY'
import sys, collections, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print("audit error:", e, file=sys.stderr)
c = collections.Counter(e.dxftype() for e in doc.modelspace())
print(len(auditor.errors), c["LINE"], c["CIRCLE"], c["TEXT"])
PY
    ) || { fail "$name: ezdxf cannot read the file"; return; }
    echo "$name: ezdxf audit errors, LINE CIRCLE TEXT: $ez"
    [ "$ez" = "0 $ours" ] || fail "$name: ezdxf: $ez, expected 0 $ours"
    # GDAL: a LINE is a two-point string, a CIRCLE a longer one, a TEXT a point with text.
    local og
    og=$(ogrinfo -ro -q -dialect SQLite -sql "SELECT SUM(Text IS NULL AND ST_NPoints(GEOMETRY) = 2) AS l,
        SUM(Text IS NULL AND ST_NPoints(GEOMETRY) > 2) AS c, SUM(Text IS NOT NULL) AS t FROM entities" "$dxf" |
        awk '/\(Integer\) =/ { v[$1] = $NF } END { printf "%d %d %d", v["l"], v["c"], v["t"] }')
    echo "$name: ogrinfo LINE CIRCLE TEXT: $og"
    [ "$og" = "$ours" ] || fail "$name: ogrinfo read $og, expected $ours"
    # LibreCAD: a page with ink on it.
    if ! timeout 300 xvfb-run -a librecad dxf2pdf -a -m -o "$work/$name.pdf" "$dxf" > "$work/$name.log" 2>&1 ||
        [ ! -s "$work/$name.pdf" ]; then
        cat "$work/$name.log"
        fail "$name: LibreCAD did not convert the file"
        return
    fi
    pdftoppm -r 50 -gray "$work/$name.pdf" "$work/$name" || { fail "$name: the page cannot be read"; return; }
    local ink
    ink=$("$py" - "$work"/"$name"*.pgm <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
# P5 header: magic, width, height, maximum, then the bytes.
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace(): at += 1
    start = at
    while not data[at:at + 1].isspace(): at += 1
    fields.append(data[start:at])
pixels = data[at + 1:]
print(sum(1 for b in pixels if b < 128))
PY
    )
    echo "$name: LibreCAD page: $ink dark pixels"
    [ "${ink:-0}" -gt 100 ] || fail "$name: LibreCAD's page is blank"
}

# Texts as typed in the program, which no plan file holds: the export says how many it
# changed ("?" for what code page 1251 lacks, a blank for a line break); ezdxf audits the
# file clean and finds every text, whose DXF text codes ("%%%" one percent sign, "%%c",
# "%%d", "%%p" special characters) give back what was typed; GDAL finds the changed texts.
check_texts() {
    local dxf="$work/texts.dxf" said ez og want
    said=$("$tool" --text 'угол α' --text $'две\r\nстроки' --text '50%%' --text '%%c 10' \
        "$signs" "$dxf") || { fail "texts: the export failed"; return; }
    echo "texts: $said"
    grep -q "Изменено текстов: 2" <<<"$said" || fail "texts: the message does not name 2 texts changed"
    ez=$("$py" - "$dxf" <<'PY'
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
print("audit errors:", len(doc.audit().errors))
special = {"c": "\u00d8", "d": "\u00b0", "p": "\u00b1"}
def typed(t):
    out, i = "", 0
    while i < len(t):
        if t.startswith("%%%", i):
            out, i = out + "%", i + 3
        elif t.startswith("%%", i) and t[i + 2:i + 3].lower() in special and i + 2 < len(t):
            out, i = out + special[t[i + 2].lower()], i + 3
        else:
            out, i = out + t[i], i + 1
    return out
for e in doc.modelspace().query("TEXT"):
    print(typed(e.dxf.text))
PY
    ) || { fail "texts: ezdxf cannot read the file"; return; }
    grep -qx "audit errors: 0" <<<"$ez" || fail "texts: ezdxf: $(head -1 <<<"$ez")"
    for want in 'угол ?' 'две строки' '50%%' '%%c 10'; do
        grep -qxF -- "$want" <<<"$ez" || fail "texts: ezdxf: no text \"$want\""
    done
    og=$(ogrinfo -ro -q -dialect SQLite -sql "SELECT Text FROM entities WHERE Text IS NOT NULL" "$dxf" |
        sed -n 's/^ *Text (String) = //p')
    for want in 'угол ?' 'две строки'; do
        grep -qxF -- "$want" <<<"$og" || fail "texts: ogrinfo: no text \"$want\""
    done
    echo "texts: ezdxf and ogrinfo read the texts as typed"
}

check signs "$signs"
check small --generate small
check_texts
exit $failed
