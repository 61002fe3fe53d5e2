# Assembles the manual: the topic files in name order into one index.html with a table of contents,
# and the pictures that exist. A topic's line "@PICTURE file.png caption@" becomes a figure when
# pictures/file.png exists and is dropped otherwise (a page without a picture yet).
#   cmake -DSOURCE_DIR=<docs/manual> -DOUTPUT_DIR=<bin/manual> -P BuildManual.cmake
file(GLOB topics ${SOURCE_DIR}/topics/*.html)
list(SORT topics)
file(MAKE_DIRECTORY ${OUTPUT_DIR}/pictures)
set(contents "")
set(body "")
foreach(topic ${topics})
  file(STRINGS ${topic} lines ENCODING UTF-8)
  foreach(line IN LISTS lines)
    if(line MATCHES "^@PICTURE ([^ ]+) (.*)@$")
      set(picture ${CMAKE_MATCH_1})
      set(caption ${CMAKE_MATCH_2})
      if(EXISTS ${SOURCE_DIR}/pictures/${picture})
        file(COPY ${SOURCE_DIR}/pictures/${picture} DESTINATION ${OUTPUT_DIR}/pictures)
        string(APPEND body "<figure><img src=\"pictures/${picture}\" alt=\"${caption}\"><figcaption>${caption}</figcaption></figure>\n")
      endif()
      continue()
    endif()
    if(line MATCHES "^<h2 id=\"([^\"]+)\">(.*)</h2>$")
      string(APPEND contents "<li><a href=\"#${CMAKE_MATCH_1}\">${CMAKE_MATCH_2}</a></li>\n")
    endif()
    string(APPEND body "${line}\n")
  endforeach()
endforeach()
file(READ ${SOURCE_DIR}/manual.css style)
file(WRITE ${OUTPUT_DIR}/index.html
"<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Vornex manual</title>
<style>
${style}</style>
</head>
<body>
<h1>Vornex manual</h1>
<nav><ol>
${contents}</ol></nav>
${body}</body>
</html>
")
