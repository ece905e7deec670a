# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -P embed_text.cmake
# Writes a C++ source that defines `std::string_view skidlog::NAME` holding
# the input file's text, without its source-map comment. With -DPARTS=list
# (a file naming, one per line, files beside it), INPUT is that list and the
# text is those files in order, without their whole-line comments,
# indentation, blank lines and the line breaks nothing needs, inside one
# strict-mode function.
if(PARTS)
  get_filename_component(folder ${INPUT} DIRECTORY)
  file(STRINGS ${INPUT} names)
  set(text "(function () {\n'use strict';\n")
  foreach(name IN LISTS names)
    file(READ ${folder}/${name} part)
    # Whole-line comments, indentation and blank lines are for the source's readers, not
    # the page's: the script holds no template literal and continues no
    # string across a line, so neither is inside a string.
    string(REGEX REPLACE "\n[ \t]*//[^\n]*" "" part "\n${part}")
    string(REGEX REPLACE "\n[ \t]+" "\n" part "${part}")
    string(REGEX REPLACE "\n\n+" "\n" part "${part}")
    # A line break after ";", "{", ",", "(", "[", "?", ":", "&&" or "||", or
    # before "}", ")", "]", "?", ":", "." or either of those, or between a "+"
    # and the string it adds, separates nothing that would not stay apart
    # without it and ends no statement.
    string(REGEX REPLACE "([;{,([?:]|&&|[|][|])\n" "\\1" part "${part}")
    string(REGEX REPLACE "\n([])}?:.]|&&|[|][|])" "\\1" part "${part}")
    string(REGEX REPLACE "[+]\n'" "+'" part "${part}")
    string(APPEND text "${part}")
  endforeach()
  string(APPEND text "})();\n")
else()
  file(READ ${INPUT} text)
endif()
string(REGEX REPLACE "//# sourceMappingURL=[^\n]*" "" text "${text}")
# Raw string literals are cut into pieces well under compilers' literal limits.
string(LENGTH "${text}" size)
set(pieces "")
set(at 0)
while(at LESS size)
  string(SUBSTRING "${text}" ${at} 30000 piece)
  string(APPEND pieces "    R\"skidlog_embed(${piece})skidlog_embed\"\n")
  math(EXPR at "${at} + 30000")
endwhile()
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include <string_view>\n\nnamespace skidlog {\n\nextern const std::string_view ${NAME};\nconst std::string_view ${NAME} =\n${pieces};\n\n}  // namespace skidlog\n")
