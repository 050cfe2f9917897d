# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The tutorial pages show pictures of our own windows. A tool linked to the window library
# renders them offscreen at build time, so a changed window changes its pictures in the next
# build; they reach the program's resources from the build tree.
# It also routes the pages' pointer lines over those pictures, once, since every input is fixed
# by then; the pages only draw them.
add_library(tunevane_routes STATIC ${CMAKE_CURRENT_LIST_DIR}/PointerRoutes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PointerRoutes.h)
target_include_directories(tunevane_routes PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tunevane_routes PUBLIC Qt6::Core tunevane_options)
add_executable(TutorialPictures ${CMAKE_CURRENT_LIST_DIR}/TutorialPictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TutorialLines.cpp ${CMAKE_CURRENT_LIST_DIR}/TutorialLines.h)
target_link_libraries(TutorialPictures PRIVATE tunevane_lib tunevane_routes Qt6::Test)

# The same screen as the tests: no window frame, 96 DPI, unscaled whatever the builder's
# setting; in a sanitizer build, the same suppressions for the libraries' own leaks.
set(tutorial_offscreen
    "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/support/offscreen.json"
    "QT_SCALE_FACTOR=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0")
set(tutorial_picture_dir ${PROJECT_BINARY_DIR}/pictures)
set(tutorial_pictures_source ${PROJECT_BINARY_DIR}/tutorial_pictures_rcc.cpp)

# The tool lists what it wrote in pictures.qrc, which rcc turns into the resources.
add_custom_command(OUTPUT ${tutorial_pictures_source}
    COMMAND ${CMAKE_COMMAND} -E env ${tutorial_offscreen}
            $<TARGET_FILE:TutorialPictures> --out ${tutorial_picture_dir}
    COMMAND Qt6::rcc --name tutorial_pictures --output ${tutorial_pictures_source}
            ${tutorial_picture_dir}/pictures.qrc
    DEPENDS TutorialPictures ${PROJECT_SOURCE_DIR}/tests/support/offscreen.json
            ${PROJECT_SOURCE_DIR}/tests/support/lsan.supp
    COMMENT "Rendering the tutorial pictures from the windows"
    VERBATIM)

# An object library, so the resources' start-up registration is linked in whole.
add_library(tunevane_pictures OBJECT ${tutorial_pictures_source})
target_link_libraries(tunevane_pictures PRIVATE Qt6::Core)
target_link_libraries(tunevane PRIVATE tunevane_pictures)

# The README's screenshot of a tutorial page, made by the same tool:
#   cmake --build --preset release --target tutorial-screenshot
add_custom_target(tutorial-screenshot
    COMMAND ${CMAKE_COMMAND} -E env ${tutorial_offscreen}
            $<TARGET_FILE:TutorialPictures> --out ${PROJECT_BINARY_DIR}/screenshot-pictures
            --page FrmWavHelp2 --shot ${PROJECT_SOURCE_DIR}/docs/tutorial-page.png
    DEPENDS TutorialPictures
    COMMENT "Shooting a tutorial page for the README"
    VERBATIM)
