# The main window and its options dialog, over the controls and dialogs, the
# options and DM files (dane/), and the sound and the banner picture (media/).
add_library(parvolen_panel STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Lampka.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LampyWyjsc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorLacza.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Raport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Okno.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OknoUklad.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OknoWejscia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OknoZalaczenie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Opcje.cpp
)
target_include_directories(parvolen_panel PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvolen_panel
    PUBLIC parvolen_kontrolki parvolen_dane parvolen_media parvolen_engine parvolen_hostlink
           parvolen_hostlink_port parvolen_serial Qt6::Widgets)
