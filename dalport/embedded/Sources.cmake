# The embedded engine's sources, compiled into libdalport.
set(DALPORT_EMBEDDED_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Catalog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Collation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineError.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EngineFunctions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExpressionText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FilePrivacy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LikePattern.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiteralLifter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OperatorFunctions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PasswordHash.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PasswordPolicy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Permissions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlanCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcedureCalls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Procedure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReservedWords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RowsResult.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecurityParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecurityScript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecurityStatements.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecurityUpgrade.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Statement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StorageCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Tokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Translator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ValueConversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NameResolver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlEmitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatementParser.cpp
)

# The roles scripts of database/mssql, for bringing registries made before grants were
# kept up to date when they are opened.
file(GLOB DALPORT_ROLES_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../../database/mssql/04-*.sql
     ${CMAKE_CURRENT_LIST_DIR}/../../database/mssql/05-*.sql ${CMAKE_CURRENT_LIST_DIR}/../../database/mssql/06-*.sql)
set(DALPORT_ROLES_CPP ${CMAKE_CURRENT_BINARY_DIR}/RolesScripts.cpp)
add_custom_command(
  OUTPUT ${DALPORT_ROLES_CPP}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}/../../database/mssql
          -DPATTERNS=04-*.sql,05-*.sql,06-*.sql -DHEADER=dalport/embedded/SecurityUpgrade.h
          -DNAMESPACE=dalport::embedded -DFUNCTION=rolesScripts -DELEMENT=std::string_view -DNAMED=OFF
          -DDELIMITER=QROLES -DOUTPUT=${DALPORT_ROLES_CPP} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedTexts.cmake
  DEPENDS ${DALPORT_ROLES_SCRIPTS} ${PROJECT_SOURCE_DIR}/cmake/EmbedTexts.cmake
  COMMENT "Embedding the roles scripts for the engine's upgrade of old registries"
  VERBATIM)
list(APPEND DALPORT_EMBEDDED_SOURCES ${DALPORT_ROLES_CPP})
