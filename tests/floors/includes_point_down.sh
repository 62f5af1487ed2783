#!/usr/bin/env bash
# Fails when an include climbs back up the house. The floors, from the top: app/ (start-up, the
# loop, the window); vision/, text/ and sound/ (the system's own logic); timing/ (the timer slots);
# the backends, each a folder of backends/, which stand on platform/ at the ground: its contracts,
# and its shared libraries one folder each (platform/mci/, platform/scale/...), which may include
# each other and the contracts but no backend. A file may include its own floor and the floors
# below it, never one above; below app/ nothing knows which backend runs, and no backend includes
# another. A backend may keep its services in sub-folders, ranked the same way by the file
# `floors` in its folder: one line a floor, from the top, the sub-folders of a floor on its line;
# its own top-level files stand below them all. Each include that breaks this is named with its
# file and line.
#
#   tests/floors/includes_point_down.sh [ROOT]      (ROOT: the repository; by default this one)

# The pipeline's status is the check's own: a grep that finds no include in some files is no fault.
set -eu

root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

folders=()
for folder in app vision text sound timing backends platform; do
  [[ -d $folder ]] && folders+=("$folder")
done
((${#folders[@]} > 0)) || { echo "no floors under $root" >&2; exit 1; }

# The floors inside the backends: "backends/NAME/SUB rank" a line, the ground of a backend being 0.
inner=""
for floors in backends/*/floors; do
  [[ -f $floors ]] || continue
  backend=${floors%/floors}
  inner+=$(awk -v b="$backend" 'NF && $1 !~ /^#/ { top[++n] = $0 }
    END { for (i = 1; i <= n; ++i) { k = split(top[i], f, /[ \t]+/)
      for (j = 1; j <= k; ++j) if (f[j] != "") printf "%s/%s %d\n", b, f[j], n - i + 1 } }' "$floors")$'\n'
done

find "${folders[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print0 |
  xargs -0 -r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]+[">]' |
  awk -v inner="$inner" '
    BEGIN {
      n = split(inner, lines, "\n")
      for (i = 1; i <= n; ++i) if (split(lines[i], f, " ") == 2) innerRank[f[1]] = f[2] + 0
    }
    # The backend a path stands in ("backends/sdl"), or "".
    function backend(p) { return match(p, /^backends\/[^\/]+\//) ? substr(p, 1, RLENGTH - 1) : "" }
    # The floor of a path inside its backend: the rank of its sub-folder, 0 for the top-level files
    # of the backend (and for every file of a backend that ranks none), -1 for a sub-folder that
    # its backend does not rank.
    function innerFloor(p,   b, rest, sub1, k) {
      b = backend(p); rest = substr(p, length(b) + 2)
      if (rest !~ /\//) return 0
      sub1 = b "/" substr(rest, 1, index(rest, "/") - 1)
      if (sub1 in innerRank) return innerRank[sub1]
      for (k in innerRank) if (index(k, b "/") == 1) return -1
      return 0
    }
    # The floor of a path, counted from the ground; 0 outside the floors (the standard library,
    # SDL, tests and tools).
    function floor(p) {
      if (p ~ /^app\//) return 5
      if (p ~ /^(vision|text|sound)\//) return 4
      if (p ~ /^timing\//) return 3
      if (p ~ /^backends\//) return 2
      if (p ~ /^platform\//) return 1
      return 0
    }
    # The folder a path stands in, as the messages name it.
    function folder(p) {
      if (p ~ /^(platform|backends)\/[^\/]+\//) sub(/\/[^\/]*$/, "/", p)
      else sub(/\/.*$/, "/", p)
      return p
    }
    {
      file = $0; sub(/:.*/, "", file)
      rest = substr($0, length(file) + 2)
      line = rest; sub(/:.*/, "", line)
      text = substr(rest, length(line) + 2)
      match(text, /["<][^">]+[">]/)
      included = substr(text, RSTART + 1, RLENGTH - 2)
      # An include without a folder is found beside the file that includes it.
      if (included !~ /\//) { dir = file; sub(/\/[^\/]*$/, "", dir); included = dir "/" included }
      from = floor(file); to = floor(included)
      why = ""
      if (to > from)
        why = "climbs from " folder(file) " up to " folder(included)
      else if (to == 2 && from > 2 && from < 5)
        why = "reaches a backend from " folder(file) ": below app/ nothing knows which backend runs"
      else if (to == 2 && from == 2 && backend(file) != backend(included))
        why = "reaches from one backend into another"
      else if (to == 2 && from == 2) {
        fin = innerFloor(file); tin = innerFloor(included)
        if (fin < 0) why = "stands in a folder that " backend(file) "/floors does not rank"
        else if (tin < 0) why = "reaches a folder that " backend(included) "/floors does not rank"
        else if (tin > fin) why = "climbs from " folder(file) " up to " folder(included)
      }
      if (why != "") {
        printf "%s:%s: #include \"%s\" %s; includes point down, never up\n",
          file, line, included, why > "/dev/stderr"
        ++climbs
      }
    }
    END {
      if (climbs > 0) {
        printf "%d include(s) against the floors\n", climbs > "/dev/stderr"
        exit 1
      }
      print "every include points down the floors"
    }'
