# Subject records and the document's subject storage.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CSubject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentClear.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectDates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectIdentity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectLoad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectSave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectWrite.cpp
)
