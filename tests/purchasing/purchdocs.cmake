# The purchase documents: the purchase-invoice window and its line dialog,
# the purchase-order window, its order-item dialog and its output, driven on
# a company database as the transactions tests drive the document forms.
ql_add_test(purchdocs_tests OPENERS
  SOURCES ${CMAKE_SOURCE_DIR}/tests/datastore/DbTestSupport.cpp ${CMAKE_SOURCE_DIR}/tests/ui/UiTestSupport.cpp
    ${CMAKE_SOURCE_DIR}/tests/customers/CustTestSupport.cpp ${CMAKE_SOURCE_DIR}/tests/transactions/TransTestSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PurchDocsTestSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/PurchInvTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/OrderTest.cpp ${CMAKE_CURRENT_SOURCE_DIR}/OrderOutputTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PurchDocTextsTest.cpp
  LIBS qlpurchasing qltransactions qlcustomers qlcatalogue qldocuments qlnetmail qlsettings qldatastore qlprint
    sqlite3)
target_include_directories(purchdocs_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/datastore
  ${CMAKE_SOURCE_DIR}/tests/ui ${CMAKE_SOURCE_DIR}/tests/customers ${CMAKE_SOURCE_DIR}/tests/transactions
  ${CMAKE_CURRENT_SOURCE_DIR})
