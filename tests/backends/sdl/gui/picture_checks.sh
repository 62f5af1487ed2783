# Screenshots looked at as a player would: lit or black, still or moving, in whole blocks of the
# page's factor, with the calm start's panel up. Each takes PNG files and answers by its status;
# `work` is a folder for scratch pictures.

# Whether every N x N block of picture $1 is one colour: taken down to one pixel a block and up
# again, nearest, it is the same picture.
in_blocks() {
  local n=$2 w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -sample "$((w / n))x$((h / n))!" -sample "${w}x${h}!" "$work/blocks.png" &&
    [ "$(compare -metric AE "$1" "$work/blocks.png" null: 2>&1)" = 0 ]
}
# Whether picture $1 is lit: not all of it black.
lit() { [ "$(convert "$1" -format '%[fx:maxima]' info:)" != 0 ]; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# Whether picture $1 holds the face of a button or box (the classic grey): the prompt is up.
shows_a_box() {
  [ "$(convert "$1" -fill black +opaque "#d4d0c8" -format '%[fx:maxima]' info:)" != 0 ]
}
