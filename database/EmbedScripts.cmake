# Writes a C++ source that holds every script of database/embedded as a raw string
# literal, so the program carries its schema and procedures with it.
#   cmake -DSOURCE_DIR=<database folder> -DOUTPUT=<file.cpp> -P EmbedScripts.cmake
set(_delimiter "QSQL")
# The SQL Server roles scripts (mssql 04-06) are embedded once, by the engine itself
# (dalport/embedded/EmbedRolesScripts.cmake), which also upgrades old registries with them.
file(GLOB_RECURSE _files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/embedded/*.sql)
list(SORT _files)

set(_out "// Generated from the scripts in database/embedded; edit those, not this file.\n")
string(APPEND _out "#include \"database/EmbeddedScriptFiles.h\"\n\n")
string(APPEND _out "namespace quorin::schema {\n\n")
string(APPEND _out "const std::vector<EmbeddedScriptFile>& embeddedScriptFiles()\n{\n")
string(APPEND _out "    static const std::vector<EmbeddedScriptFile> files = {\n")
foreach(_file IN LISTS _files)
  file(READ ${SOURCE_DIR}/${_file} _text)
  string(FIND "${_text}" ")${_delimiter}\"" _clash)
  if(NOT _clash EQUAL -1)
    message(FATAL_ERROR "${_file} contains the raw-string delimiter )${_delimiter}\"")
  endif()
  string(APPEND _out "        {\"${_file}\", R\"${_delimiter}(${_text})${_delimiter}\"},\n")
endforeach()
string(APPEND _out "    };\n    return files;\n}\n\n} // namespace quorin::schema\n")

# Only touch the output when it changes, so an unrelated re-run rebuilds nothing.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
  if(_old STREQUAL _out)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${_out}")
