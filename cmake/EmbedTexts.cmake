# Writes a C++ source that holds text files as raw string literals, so a program carries
# its scripts with it. One script for every embedding, called at build time:
#   cmake -DSOURCE_DIR=<folder> -DPATTERNS=<glob,glob> -DHEADER=<include> -DNAMESPACE=<ns>
#         -DFUNCTION=<name> -DELEMENT=<type> -DNAMED=<ON|OFF> -DDELIMITER=<word>
#         -DOUTPUT=<file.cpp> -P EmbedTexts.cmake
# NAMED: each element is {"<path relative to SOURCE_DIR>", R"(text)"}; else the text only.
set(_files)
string(REPLACE "," ";" _patterns "${PATTERNS}")
foreach(_pattern IN LISTS _patterns)
  file(GLOB_RECURSE _found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${_pattern})
  list(APPEND _files ${_found})
endforeach()
list(SORT _files)
if(NOT _files)
  message(FATAL_ERROR "no files match ${PATTERNS} in ${SOURCE_DIR}")
endif()

set(_out "// Generated from ${_patterns}; edit those, not this file.\n")
string(APPEND _out "#include \"${HEADER}\"\n\n")
string(APPEND _out "namespace ${NAMESPACE} {\n\n")
string(APPEND _out "const std::vector<${ELEMENT}>& ${FUNCTION}()\n{\n")
string(APPEND _out "    static const std::vector<${ELEMENT}> texts = {\n")
foreach(_file IN LISTS _files)
  file(READ ${SOURCE_DIR}/${_file} _text)
  string(FIND "${_text}" ")${DELIMITER}\"" _clash)
  if(NOT _clash EQUAL -1)
    message(FATAL_ERROR "${_file} contains the raw-string delimiter )${DELIMITER}\"")
  endif()
  if(NAMED)
    string(APPEND _out "        {\"${_file}\", R\"${DELIMITER}(${_text})${DELIMITER}\"},\n")
  else()
    string(APPEND _out "        R\"${DELIMITER}(${_text})${DELIMITER}\",\n")
  endif()
endforeach()
string(APPEND _out "    };\n    return texts;\n}\n\n} // namespace ${NAMESPACE}\n")

# Only touch the output when it changes, so an unrelated re-run rebuilds nothing.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
  if(_old STREQUAL _out)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${_out}")
