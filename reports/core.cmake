# What every report shares, free of widgets: the list interface and an in-memory list,
# the one fill helper, the page layout of printing, the CSV field rule and writer, and
# opening a subject from a row.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CMemoryReportList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CsvExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CsvText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenSubjectFromRow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportFill.cpp
)
