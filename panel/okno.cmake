# The main window, its options dialog and what they stand on: the options
# file, DM.cpm, the sound and the banner picture.
find_package(JPEG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(PULSE_SIMPLE REQUIRED IMPORTED_TARGET libpulse-simple)

add_library(parvolen_panel STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Dzwiek.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Jpeg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KatalogDanych.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Komunikaty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Kontrolka.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LampyWyjsc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlikDM.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlikIni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Raport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Unit1.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Unit1Uklad.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Unit1Wejscia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Unit1Zalaczenie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Unit5.cpp
)
target_include_directories(parvolen_panel PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvolen_panel
    PUBLIC parvolen_kontrolki parvolen_engine parvolen_hostlink parvolen_hostlink_port parvolen_serial Qt6::Widgets
    PRIVATE JPEG::JPEG PkgConfig::SNDFILE PkgConfig::PULSE_SIMPLE)
qt_add_resources(parvolen_panel okno
    PREFIX /
    BASE ${CMAKE_SOURCE_DIR}/data
    FILES ${CMAKE_SOURCE_DIR}/data/Baner.jpg)
