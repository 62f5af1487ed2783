# Writes the page, index.html, with the facts it shares with the program (facts.js) written into it
# in place of the line that loads them, so that its first script reads them without waiting for
# another file:
#   cmake -DPAGE=index.html -DFACTS=facts.js -DOUT=FILE -P InlineFacts.cmake
file(READ ${PAGE} _page)
file(READ ${FACTS} _facts)
set(_line "<script src=\"facts.js\"></script>")
string(FIND "${_page}" "${_line}" _at)
if(_at EQUAL -1)
  message(FATAL_ERROR "${PAGE} has no line that loads facts.js")
endif()
string(REPLACE "${_line}" "<script>\n${_facts}</script>" _page "${_page}")
file(WRITE ${OUT}.part "${_page}")
file(RENAME ${OUT}.part ${OUT})
