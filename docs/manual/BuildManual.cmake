# Assembles the manual: one HTML page per topic file, in name order, each with the list of all
# topics beside it and links to the previous and the next one. The first topic is index.html; the
# others are named after their file without the number ("40-mifare.html" becomes "mifare.html"),
# so that topics link to each other as "mifare.html#mifarestds50". A topic starts with its
# "<h2 id=...>title</h2>" line. A line "@PICTURE file.png caption" becomes a figure of
# pictures/file.png, which must exist.
#   cmake -DSOURCE_DIR=<docs/manual> -DOUTPUT_DIR=<bin/manual> -P BuildManual.cmake
cmake_minimum_required(VERSION 3.25) # keeps the empty lines of a topic
file(GLOB topics ${SOURCE_DIR}/topics/*.html)
list(SORT topics)
file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR}/pictures)
file(COPY ${SOURCE_DIR}/manual.css DESTINATION ${OUTPUT_DIR})

# Each topic's page and title.
set(pages "")
set(titles "")
foreach(topic ${topics})
  get_filename_component(name ${topic} NAME)
  if(pages STREQUAL "")
    set(page index.html)
  else()
    string(REGEX REPLACE "^[0-9]+-" "" page ${name})
  endif()
  file(STRINGS ${topic} heading LIMIT_COUNT 1 ENCODING UTF-8)
  if(NOT heading MATCHES "^<h2 id=\"[^\"]+\">(.*)</h2>$")
    message(FATAL_ERROR "${name} does not start with its <h2 id=...> heading")
  endif()
  list(APPEND pages ${page})
  list(APPEND titles "${CMAKE_MATCH_1}")
endforeach()

list(LENGTH topics count)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  list(GET topics ${index} topic)
  list(GET pages ${index} page)
  list(GET titles ${index} title)

  set(contents "")
  foreach(other RANGE ${last})
    list(GET pages ${other} otherPage)
    list(GET titles ${other} otherTitle)
    if(other EQUAL index)
      string(APPEND contents "<li class=\"here\">${otherTitle}</li>\n")
    else()
      string(APPEND contents "<li><a href=\"${otherPage}\">${otherTitle}</a></li>\n")
    endif()
  endforeach()
  set(steps "")
  if(index GREATER 0)
    math(EXPR previous "${index} - 1")
    list(GET pages ${previous} previousPage)
    list(GET titles ${previous} previousTitle)
    string(APPEND steps "<a href=\"${previousPage}\">&larr; ${previousTitle}</a>")
  endif()
  if(index LESS last)
    math(EXPR next "${index} + 1")
    list(GET pages ${next} nextPage)
    list(GET titles ${next} nextTitle)
    string(APPEND steps " <a class=\"next\" href=\"${nextPage}\">${nextTitle} &rarr;</a>")
  endif()

  set(body "")
  file(STRINGS ${topic} lines ENCODING UTF-8)
  foreach(line IN LISTS lines)
    if(line MATCHES "^@PICTURE ([^ ]+) (.*)$")
      set(picture ${CMAKE_MATCH_1})
      set(caption ${CMAKE_MATCH_2})
      if(NOT EXISTS ${SOURCE_DIR}/pictures/${picture})
        message(FATAL_ERROR "${topic}: pictures/${picture} is missing (tools/manual-pictures.sh makes it)")
      endif()
      file(COPY ${SOURCE_DIR}/pictures/${picture} DESTINATION ${OUTPUT_DIR}/pictures)
      string(APPEND body "<figure><img src=\"pictures/${picture}\" alt=\"${caption}\"><figcaption>${caption}</figcaption></figure>\n")
    else()
      string(APPEND body "${line}\n")
    endif()
  endforeach()

  file(WRITE ${OUTPUT_DIR}/${page}
"<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>${title} - Vornex manual</title>
<link rel=\"stylesheet\" href=\"manual.css\">
</head>
<body>
<nav class=\"contents\">
<p><a href=\"index.html\">Vornex manual</a></p>
<ol>
${contents}</ol>
</nav>
<main>
${body}<p class=\"steps\">${steps}</p>
</main>
</body>
</html>
")
endforeach()
