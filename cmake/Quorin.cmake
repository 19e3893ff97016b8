# Helpers shared by every folder.

# quorin_library(<name> folders...): a static library of every source of the named
# folders (not of their subfolders, which are folders of their own). The root
# CMakeLists.txt is the one place that says which folder feeds which library.
function(quorin_library name)
  set(sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
  endforeach()
  # The program's main() is the executable's own.
  list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  # Headers generated at build time (the schema's text-column lengths) come first.
  if(TARGET quorin_text_columns)
    add_dependencies(${name} quorin_text_columns)
  endif()
endfunction()

# quorin_test(<name> files... [WIDGETS] LIBS libs...): one test binary per folder, each test case
# registered with CTest on its own so that CTest runs them in parallel.
# WIDGETS: the shared widget-test main() (a QApplication, the resources and every
# subsystem's windows).
function(quorin_test name)
  cmake_parse_arguments(QT "WIDGETS" "" "LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${QT_UNPARSED_ARGUMENTS})
  if(QT_WIDGETS)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
  endif()
  # The registry's names are handed to the engine before any test runs.
  if(TARGET quorin_schema)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/RegistryProfileAtStart.cpp
                                   ${PROJECT_SOURCE_DIR}/tests/support/RawRegistry.cpp)
    target_link_libraries(${name} PRIVATE quorin_schema SQLite::SQLite3)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  # Qt texts print one way in every file of a binary that has Qt: a file without the
  # printer would give gtest's printer of QString a second, byte-dumping definition.
  if("${QT_LIBS}" MATCHES "quorin_(core|ui|mail)")
    target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/QtPrinting.h)
  endif()
  # gtest_main supplies main() unless the test folder defines its own.
  target_link_libraries(${name} PRIVATE ${QT_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  # Listing the tests runs the binary at build time: widget tests need the offscreen
  # platform there too, so the binary is started through env.
  find_program(QUORIN_ENV_PROGRAM env REQUIRED)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${QUORIN_ENV_PROGRAM};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0;UBSAN_OPTIONS=print_stacktrace=1"
               ${QT_PROPERTIES})
endfunction()
