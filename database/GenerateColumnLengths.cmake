# Writes the registry's text-column lengths as a C++ table, so that every dialog field
# and every import check takes its limit from the schema itself.
#   cmake -DSCHEMA=<mssql tables script> -DEMBEDDED=<embedded schema> -DOUTPUT=<file.h>
#         -P GenerateColumnLengths.cmake
# The source is the SQL Server tables script: the limits SQL Server enforces. The
# embedded engine's schema must give every column it shares the same length, or the
# build stops: a field may then never take what one engine would refuse.

# Reads "<table>.<column>=<length>" pairs (lower-case names) of every CHAR, VARCHAR,
# NCHAR and NVARCHAR column with a length; (max) columns have none.
function(_read_lengths file out)
  file(STRINGS ${file} _lines)
  set(_table "")
  set(_pairs "")
  foreach(_line IN LISTS _lines)
    if(_line MATCHES "^[ \t]*CREATE[ \t]+TABLE[ \t]+([A-Za-z_][A-Za-z0-9_]*)")
      set(_table "${CMAKE_MATCH_1}")
    elseif(_line MATCHES "^[ \t]*\\)")
      set(_table "")
    elseif(_table AND _line MATCHES "^[ \t]*([A-Za-z_][A-Za-z0-9_]*)[ \t]+[Nn]?([Vv][Aa][Rr])?[Cc][Hh][Aa][Rr][ \t]*\\(([0-9]+)\\)")
      list(APPEND _pairs "${_table}.${CMAKE_MATCH_1}=${CMAKE_MATCH_3}")
    endif()
  endforeach()
  set(${out} "${_pairs}" PARENT_SCOPE)
endfunction()

_read_lengths(${SCHEMA} _source)
_read_lengths(${EMBEDDED} _embedded)
list(LENGTH _source _count)
if(_count EQUAL 0)
  message(FATAL_ERROR "no text column found in ${SCHEMA}")
endif()

foreach(_pair IN LISTS _embedded)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ ${_pair})
  set(_name "${CMAKE_MATCH_1}")
  set(_length "${CMAKE_MATCH_2}")
  string(TOLOWER "${_name}" _key)
  set(_found FALSE)
  foreach(_s IN LISTS _source)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ ${_s})
    string(TOLOWER "${CMAKE_MATCH_1}" _skey)
    if(_skey STREQUAL _key)
      set(_found TRUE)
      if(NOT CMAKE_MATCH_2 STREQUAL _length)
        message(FATAL_ERROR "${_name} is ${CMAKE_MATCH_2} characters in ${SCHEMA} but ${_length} in ${EMBEDDED}")
      endif()
    endif()
  endforeach()
endforeach()

set(_out "// Generated from database/mssql/02-quorin-tables.sql by GenerateColumnLengths.cmake;\n")
string(APPEND _out "// edit the schema, not this file.\n#pragma once\n\n#include <string_view>\n\n")
string(APPEND _out "namespace quorin::schema {\n\n")
string(APPEND _out "struct TextColumn {\n    std::string_view table;\n    std::string_view column;\n    int length;\n};\n\n")
string(APPEND _out "// Every registry text column with a length, in the script's order.\n")
string(APPEND _out "inline constexpr TextColumn kTextColumns[] = {\n")
foreach(_pair IN LISTS _source)
  string(REGEX MATCH "^([^.]+)\\.([^=]+)=(.*)$" _ ${_pair})
  string(APPEND _out "    {\"${CMAKE_MATCH_1}\", \"${CMAKE_MATCH_2}\", ${CMAKE_MATCH_3}},\n")
endforeach()
string(APPEND _out "};\n\n} // namespace quorin::schema\n")

# Only touch the output when it changes, so an unrelated re-run rebuilds nothing.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
  if(_old STREQUAL _out)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${_out}")
