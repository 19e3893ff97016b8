# Audiogram records and the current test's storage.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CAudPoint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CAudRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramHistoryState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramLoad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramWrite.cpp
)
# The chart's geometry, its click editing and its first-draw checks.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/AmImportOffers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartEditing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartFirstDraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartGeometry.cpp
)
# The Audiogram Manager reads, the test history and paging.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/AmCodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramManagerReads.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramPaging.cpp
)
# What an edit of the shown test by the user does to the document.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/AudTestEdit.cpp
)
# The Audiogram Manager import: the composite test, the newer-test check, the search.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/AmComposite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AmImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AmSearch.cpp
)
# Tools > Update: the newer clinic tests of every subject, as a job of the bulk runner.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/ToolsUpdate.cpp
)
