# The self-contained controls and dialogs of the front panel: the shaped
# button, the program's message boxes, the welcome, about and port settings
# windows, and the links to the product page and the help page (found among
# the shared files, dane/). The port dialog lists the serial devices present.
add_library(parvolen_kontrolki STATIC
    ${CMAKE_CURRENT_LIST_DIR}/IAeverGeometria.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IAeverButton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Komunikaty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Odnosniki.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Wyglad.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OknoPowitalne.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Port.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZmianaPortu.cpp
)
target_include_directories(parvolen_kontrolki PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvolen_kontrolki PUBLIC parvolen_dane Qt6::Widgets)

