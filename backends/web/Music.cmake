# The music channel's part of the site: the synthesiser and the soundfont the page fetches when the
# first piece is opened (music.js and music-worklet.js come with the rest of site/).
# - music/libfluidsynth-2.4.6.js and .wasm: FluidSynth compiled to WebAssembly, from the npm
#   package js-synthesizer at the version backends/web/music/package-lock.json pins, installed into
#   the build folder by npm at build time; its WebAssembly taken out of the script it ships in
#   (music/split-synth.mjs), so that it travels as a binary file.
# - sound/TimGM6mb.sf2.gz: the General MIDI soundfont the desktop plays with (Debian's
#   timgm6mb-soundfont), gzip-compressed for the wire; the page inflates it.
# - music/NOTICE.txt, LGPL-2.1.txt, GPL-2.txt: what both are, their licences and their sources.

set(OMBREVALE_SYNTH_PACKAGE ${CMAKE_CURRENT_LIST_DIR}/music)
set(OMBREVALE_SYNTH_INSTALL ${CMAKE_BINARY_DIR}/music)
set(OMBREVALE_SOUNDFONT /usr/share/sounds/sf2/TimGM6mb.sf2 CACHE FILEPATH
  "The General MIDI soundfont the page's music plays with")
if(NOT EXISTS ${OMBREVALE_SOUNDFONT})
  message(FATAL_ERROR
    "${OMBREVALE_SOUNDFONT} is missing: install timgm6mb-soundfont (scripts/deps web)")
endif()
find_program(OMBREVALE_NPM npm REQUIRED)
find_program(OMBREVALE_GZIP gzip REQUIRED)
find_program(OMBREVALE_NODE node REQUIRED)

set(_externals ${OMBREVALE_SYNTH_INSTALL}/node_modules/js-synthesizer/externals)
add_custom_command(
  OUTPUT ${_externals}/libfluidsynth-2.4.6.js ${_externals}/LICENSE.fluidsynth.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${OMBREVALE_SYNTH_PACKAGE}/package.json
          ${OMBREVALE_SYNTH_PACKAGE}/package-lock.json ${OMBREVALE_SYNTH_INSTALL}
  COMMAND ${OMBREVALE_NPM} ci --no-audit --no-fund --ignore-scripts --loglevel=error
  # npm keeps the package's own dates: the outputs are dated now, so that the step runs once.
  COMMAND ${CMAKE_COMMAND} -E touch ${_externals}/libfluidsynth-2.4.6.js
          ${_externals}/LICENSE.fluidsynth.txt
  WORKING_DIRECTORY ${OMBREVALE_SYNTH_INSTALL}
  DEPENDS ${OMBREVALE_SYNTH_PACKAGE}/package.json ${OMBREVALE_SYNTH_PACKAGE}/package-lock.json
  COMMENT "Installing the page's synthesiser from npm"
  VERBATIM)
file(MAKE_DIRECTORY ${OMBREVALE_SYNTH_INSTALL})

# The synthesiser, its script and its WebAssembly apart.
set(_synth ${OMBREVALE_SITE_DIR}/music/libfluidsynth-2.4.6)
add_custom_command(OUTPUT ${_synth}.js ${_synth}.wasm
  COMMAND ${CMAKE_COMMAND} -E make_directory ${OMBREVALE_SITE_DIR}/music
  COMMAND ${OMBREVALE_NODE} ${OMBREVALE_SYNTH_PACKAGE}/split-synth.mjs
          ${_externals}/libfluidsynth-2.4.6.js ${_synth}.js ${_synth}.wasm
  DEPENDS ${_externals}/libfluidsynth-2.4.6.js ${OMBREVALE_SYNTH_PACKAGE}/split-synth.mjs
  VERBATIM)
set(_music_files ${_synth}.js ${_synth}.wasm)

# The notices of what the page's music is made with, in music/.
foreach(_pair
    "${_externals}/LICENSE.fluidsynth.txt|LGPL-2.1.txt"
    "/usr/share/common-licenses/GPL-2|GPL-2.txt"
    "${OMBREVALE_SYNTH_PACKAGE}/NOTICE.txt|NOTICE.txt")
  string(REPLACE "|" ";" _pair "${_pair}")
  list(GET _pair 0 _from)
  list(GET _pair 1 _name)
  add_custom_command(OUTPUT ${OMBREVALE_SITE_DIR}/music/${_name}
    COMMAND ${CMAKE_COMMAND} -E copy ${_from} ${OMBREVALE_SITE_DIR}/music/${_name}
    DEPENDS ${_from} VERBATIM)
  list(APPEND _music_files ${OMBREVALE_SITE_DIR}/music/${_name})
endforeach()

# -n: no name or time in the header, so the same soundfont gives the same bytes.
set(_soundfont ${OMBREVALE_SITE_DIR}/sound/TimGM6mb.sf2.gz)
add_custom_command(OUTPUT ${_soundfont}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${OMBREVALE_SITE_DIR}/sound
  COMMAND sh -c "'${OMBREVALE_GZIP}' -9 -n -c '${OMBREVALE_SOUNDFONT}' > '${_soundfont}'"
  DEPENDS ${OMBREVALE_SOUNDFONT}
  COMMENT "Compressing the soundfont for the page"
  VERBATIM)
list(APPEND _music_files ${_soundfont})

add_custom_target(ombrevale_music ALL DEPENDS ${_music_files})
