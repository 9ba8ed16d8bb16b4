# Compiles the help pages into a .chm file with chmcmd (script mode).
#   cmake -DPAGES=<docs/help> -DSHOTS=<docs/screenshots> -DWORK=<folder> -DCHMCMD=<chmcmd> -P BuildHelp.cmake
# A page marks a picture with <!-- picture NAME.png Caption -->; the marker
# becomes the picture when docs/screenshots holds NAME.png, and disappears
# otherwise, so the guide builds before the screenshots exist.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB pages RELATIVE ${PAGES} ${PAGES}/*.html)
list(SORT pages)
set(files ${pages} help.css)
foreach(page IN LISTS pages)
  file(READ ${PAGES}/${page} text)
  string(REGEX MATCHALL "<!-- picture [^ ]+ [^>]*-->" markers "${text}")
  foreach(marker IN LISTS markers)
    string(REGEX REPLACE "<!-- picture ([^ ]+) (.*) -->" "\\1" name "${marker}")
    string(REGEX REPLACE "<!-- picture ([^ ]+) (.*) -->" "\\2" caption "${marker}")
    set(picture "")
    if(EXISTS ${SHOTS}/${name})
      file(COPY ${SHOTS}/${name} DESTINATION ${WORK})
      list(APPEND files ${name})
      set(picture "<p class=\"picture\"><img src=\"${name}\" alt=\"${caption}\"></p>")
    endif()
    string(REPLACE "${marker}" "${picture}" text "${text}")
  endforeach()
  file(WRITE ${WORK}/${page} "${text}")
endforeach()
file(COPY ${PAGES}/help.css ${PAGES}/toc.hhc DESTINATION ${WORK})
list(REMOVE_DUPLICATES files)
string(REPLACE ";" "\n" file_lines "${files}")
file(WRITE ${WORK}/vtlock.hhp "[OPTIONS]
Compatibility=1.1 or later
Compiled file=vtlock.chm
Contents file=toc.hhc
Default topic=index.html
Display compile progress=No
Full-text search=Yes
Language=0x409 English (United States)
Title=Vantrel Help

[FILES]
${file_lines}
")
execute_process(COMMAND ${CHMCMD} vtlock.hhp WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/vtlock.chm)
  message(FATAL_ERROR "chmcmd failed:\n${out}")
endif()
