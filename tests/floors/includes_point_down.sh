#!/usr/bin/env bash
# Fails when an include climbs back up the house. The floors, from the top: app/ (start-up, the
# loop, the window); vision/, text/ and sound/ (the system's own logic); timing/ (the timer slots);
# the backends, each a folder of backends/, which stand on platform/ at the ground: its contracts,
# and its shared libraries one folder each (platform/mci/, platform/scale/...), which may include
# each other and the contracts but no backend. A file may include its own floor and the floors
# below it, never one above; below app/ nothing knows which backend runs, and no backend includes
# another. Each include that breaks this is named with its file and line.
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

find "${folders[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print0 |
  xargs -0 -r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]+[">]' |
  awk '
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
      else if (to == 2 && from == 2 && folder(file) != folder(included))
        why = "reaches from one backend into another"
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
