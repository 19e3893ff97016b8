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
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/ConsentReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContactReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LettersReport.cpp
)
# The Dataset and IRB report's fill and its reminder mail, and the mail site settings.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/DatasetReminderRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DatasetReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MailSettings.cpp
)
# The Participation, Feedback and Closed Dataset reports, the summary rows and the
# list-as-shown file they share, and reopening a closed dataset.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/ClosedDatasetReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FeedbackReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListCsv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipationReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportRows.cpp
)
# The Database Numbers, Numbers added per month and Demographics reports.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/DatabaseNumbersReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DemographicsReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonthlyNumbersReport.cpp
)
