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
set(tutorial_picture_files)
foreach(name IN ITEMS midi-selection midi-switch midi-backup midi-backup-name
                      wav-selection wav-switch wav-backup wav-backup-name
                      set-game-folder set-saved-set)
    list(APPEND tutorial_picture_files
        ${tutorial_picture_dir}/${name}.png ${tutorial_picture_dir}/${name}@2x.png
        ${tutorial_picture_dir}/${name}.json)
endforeach()
list(APPEND tutorial_picture_files ${tutorial_picture_dir}/lines.json)

add_custom_command(OUTPUT ${tutorial_picture_files}
    COMMAND ${CMAKE_COMMAND} -E env ${tutorial_offscreen}
            $<TARGET_FILE:TutorialPictures> --out ${tutorial_picture_dir}
    DEPENDS TutorialPictures ${PROJECT_SOURCE_DIR}/tests/support/offscreen.json
            ${PROJECT_SOURCE_DIR}/tests/support/lsan.supp
    COMMENT "Rendering the tutorial pictures from the windows"
    VERBATIM)

add_library(tunevane_pictures STATIC)
qt_add_resources(tunevane_pictures tutorial_pictures PREFIX /pictures
    BASE ${tutorial_picture_dir} FILES ${tutorial_picture_files})
target_link_libraries(tunevane_pictures PUBLIC Qt6::Core)
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
