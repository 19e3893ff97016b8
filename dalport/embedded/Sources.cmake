# The embedded engine's sources, compiled into libdalport.
set(DALPORT_EMBEDDED_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Catalog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineError.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineFunctions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PasswordHash.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Procedure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RowsResult.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecurityStatements.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Tokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Translator.cpp
)
