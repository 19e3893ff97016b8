# Helpers shared by every folder.
#
# The program's libraries are fed by several subsystem folders, so a target is created
# by the first folder that gives it sources; its dependencies are set here once.

function(_quorin_configure_library target)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  # Headers generated at build time (the schema's text-column lengths) come first.
  if(TARGET quorin_text_columns)
    add_dependencies(${target} quorin_text_columns)
  endif()
  if(target STREQUAL "quorin_core")
    target_link_libraries(${target} PUBLIC dalport Qt6::Core)
    if(TARGET quorin_mail)
      target_link_libraries(${target} PUBLIC quorin_mail)
    endif()
  elseif(target STREQUAL "quorin_mail")
    target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Network)
  elseif(target STREQUAL "quorin_ui")
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_link_libraries(${target} PUBLIC quorin_core Qt6::Widgets Qt6::PrintSupport)
    if(TARGET quorin_mail)
      target_link_libraries(${target} PUBLIC quorin_mail)
    endif()
  endif()
endfunction()

# quorin_sources(<quorin_core|quorin_mail|quorin_ui> files...)
function(quorin_sources target)
  if(NOT TARGET ${target})
    add_library(${target} STATIC)
    _quorin_configure_library(${target})
  endif()
  target_sources(${target} PRIVATE ${ARGN})
endfunction()

# quorin_test(<name> files... LIBS libs...): one test binary per folder, each test case
# registered with CTest on its own so that CTest runs them in parallel.
function(quorin_test name)
  cmake_parse_arguments(QT "" "" "LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${QT_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
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
