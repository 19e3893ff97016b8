# The document's core: plain C++ over QtCore, no widgets.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CQuorinDoc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbString.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirstLogin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionTransaction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlWholeDays.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CBulkUpdate.cpp
)
