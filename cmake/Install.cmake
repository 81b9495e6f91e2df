# Installation and packaging: the programs, the desktop entry, AppStream metainfo, icons, manual
# pages and licence, installed with GNUInstallDirs under any prefix (and DESTDIR), and a Debian
# package through CPack. Included from the top CMakeLists.txt after every program is defined.
include(GNUInstallDirs)

# One reverse-DNS application id names the desktop entry, the AppStream component, the icon
# and the desktop file name the window reports to the task bar.
set(SORVEL_APPLICATION_ID "org.sorvel.Sorvel")
# The class part of the window's WM_CLASS: Qt 6 takes the application name, the program's name.
set(SORVEL_WM_CLASS "sorvel")
set(SORVEL_RELEASE_DATE "2026-12-08")
set(SORVEL_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 12:00:00 +0000")
set(SORVEL_MAINTAINER "The Sorvel developers <sorvel@sorvel.org>")

set(SORVEL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/sorvel")
set(SORVEL_KEEPER_DIR "${CMAKE_INSTALL_LIBEXECDIR}/sorvel")

target_compile_definitions(sorvel_app PUBLIC SORVEL_APPLICATION_ID="${SORVEL_APPLICATION_ID}"
                                      PRIVATE SORVEL_VERSION="${PROJECT_VERSION}")
# The window finds the installed keeper from its own folder, wherever the prefix is.
file(RELATIVE_PATH SORVEL_KEEPER_DIR_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBEXECDIR}/sorvel")
target_compile_definitions(sorvel_output PRIVATE SORVEL_KEEPER_DIR_FROM_BIN="${SORVEL_KEEPER_DIR_FROM_BIN}")

# Sanitizer and fuzzing builds are for tests only: they install nothing and generate nothing
# (their programs would report leaks while the manual pages are made).
if(SORVEL_SANITIZE OR SORVEL_FUZZ)
  set(SORVEL_INSTALL_RULES OFF)
  return()
endif()
set(SORVEL_INSTALL_RULES ON)

set(SORVEL_DATA_DIR "${PROJECT_BINARY_DIR}/data")
configure_file(data/sorvel.desktop.in "${SORVEL_DATA_DIR}/${SORVEL_APPLICATION_ID}.desktop" @ONLY)
configure_file(data/sorvel.metainfo.xml.in "${SORVEL_DATA_DIR}/${SORVEL_APPLICATION_ID}.metainfo.xml" @ONLY)

# Icons: the SVG and every PNG size drawn by the window's own icon code.
set(SORVEL_ICON_DIR "${SORVEL_DATA_DIR}/icons")
set(SORVEL_ICON_FILES "${SORVEL_ICON_DIR}/scalable/apps/${SORVEL_APPLICATION_ID}.svg")
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  list(APPEND SORVEL_ICON_FILES "${SORVEL_ICON_DIR}/${size}x${size}/apps/${SORVEL_APPLICATION_ID}.png")
endforeach()
add_custom_command(OUTPUT ${SORVEL_ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:sorvel-icons> "${SORVEL_ICON_DIR}" "${SORVEL_APPLICATION_ID}"
  DEPENDS sorvel-icons
  COMMENT "Drawing the icons" VERBATIM)

# Manual pages from the programs' own --help and --version, so that they cannot disagree.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(SORVEL_MAN_FILES)
foreach(entry IN ITEMS "sorvel|turn a piece of text into a picture (window)"
                       "sorvel-render|render a text as a picture file, as the Sorvel window draws it")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 summary)
  set(page "${SORVEL_DATA_DIR}/man/${program}.1")
  # Sections --help has no place for (the window's keys) come from data/PROGRAM.h2m.
  set(include_options)
  set(include_files)
  if(EXISTS "${PROJECT_SOURCE_DIR}/data/${program}.h2m")
    set(include_options "--include=${PROJECT_SOURCE_DIR}/data/${program}.h2m")
    set(include_files "${PROJECT_SOURCE_DIR}/data/${program}.h2m")
  endif()
  add_custom_command(OUTPUT "${page}.gz"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${SORVEL_DATA_DIR}/man"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            ${HELP2MAN} --no-info --section=1 --no-discard-stderr "--name=${summary}"
            ${include_options} "--output=${page}" $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf "${page}"
    DEPENDS ${program} ${include_files}
    COMMENT "Writing the manual page ${program}(1)" VERBATIM)
  list(APPEND SORVEL_MAN_FILES "${page}.gz")
endforeach()

add_custom_target(sorvel_install_data ALL DEPENDS ${SORVEL_ICON_FILES} ${SORVEL_MAN_FILES})

install(TARGETS sorvel sorvel-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS sorvel-clipboard-keeper RUNTIME DESTINATION ${SORVEL_KEEPER_DIR})
install(FILES "${SORVEL_DATA_DIR}/${SORVEL_APPLICATION_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES "${SORVEL_DATA_DIR}/${SORVEL_APPLICATION_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(DIRECTORY "${SORVEL_ICON_DIR}/" DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
install(FILES ${SORVEL_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE DESTINATION ${SORVEL_DOCDIR})
# Debian's place for the licence, and the release notes every package carries.
install(FILES data/copyright DESTINATION ${SORVEL_DOCDIR})
configure_file(data/changelog.in "${SORVEL_DATA_DIR}/changelog" @ONLY)
set(SORVEL_CHANGELOG "${SORVEL_DATA_DIR}/changelog.gz")
add_custom_command(OUTPUT "${SORVEL_CHANGELOG}"
  COMMAND ${GZIP} -9nkf "${SORVEL_DATA_DIR}/changelog"
  DEPENDS "${SORVEL_DATA_DIR}/changelog" VERBATIM)
add_custom_target(sorvel_changelog ALL DEPENDS "${SORVEL_CHANGELOG}")
install(FILES "${SORVEL_CHANGELOG}" DESTINATION ${SORVEL_DOCDIR})

# Debian package: cpack -G DEB in the build folder makes sorvel_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Sorvel developers")
set(CPACK_PACKAGE_CONTACT "${SORVEL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a piece of text into a picture (Japanese interface)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Sorvel draws a text in a chosen font, size, style and colours, over an
optional tiled background picture, with a grey shadow, rainbow characters
or a one-pixel frame, and copies the picture to the clipboard or saves it
as BMP, PNG or JPEG. The window and all its dialogs are in Japanese.
.
sorvel-render draws the same pictures from the command line, without a
window or a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found through the libraries: the Japanese face the window starts in, and Qt's Japanese
# texts for its dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# Emoji in colour; without it they are drawn from the text fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-color-emoji")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
