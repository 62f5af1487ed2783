# Writes the files PARTS (a list) one after the other into OUT, as one script:
#   cmake -DOUT=FILE "-DPARTS=A;B;C" -P Concatenate.cmake
set(_text "")
foreach(_part ${PARTS})
  file(READ ${_part} _part_text)
  string(APPEND _text "${_part_text}\n")
endforeach()
file(WRITE ${OUT}.part "${_text}")
file(RENAME ${OUT}.part ${OUT})
