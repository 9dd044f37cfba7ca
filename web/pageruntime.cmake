# SPDX-License-Identifier: MIT
# Puts the style, the engine and the page's script into the page template,
# leaving the one marker where quillmoorpublish puts the game.
#   cmake -DTEMPLATE=... -DSTYLE=... -DSCRIPT=... -DENGINE=... -DVERSION=... -DOUTPUT=... -P pageruntime.cmake
foreach(input TEMPLATE STYLE SCRIPT ENGINE)
    file(READ ${${input}} ${input}_TEXT)
endforeach()

# Inside a script element these would end it or change how it is read.
foreach(input SCRIPT ENGINE)
    string(TOLOWER "${${input}_TEXT}" lower)
    foreach(unsafe "</script" "<!--")
        string(FIND "${lower}" "${unsafe}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "${${input}} holds \"${unsafe}\", which cannot go inside a script element")
        endif()
    endforeach()
endforeach()

set(page "${TEMPLATE_TEXT}")
string(REPLACE "@QUILLMOOR_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@PAGE_CSS@" "${STYLE_TEXT}" page "${page}")
string(REPLACE "@PAGE_JS@" "${SCRIPT_TEXT}" page "${page}")
string(REPLACE "@ENGINE_JS@" "${ENGINE_TEXT}" page "${page}")

string(REGEX MATCHALL "@QUILLMOOR_GAME@" markers "${page}")
list(LENGTH markers count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "The page runtime must hold the marker @QUILLMOOR_GAME@ once; it holds it ${count} times")
endif()
file(WRITE ${OUTPUT} "${page}")
