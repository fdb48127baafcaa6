# Installation of everything the programs read at run time, and the Debian
# package built from it with CPack.
include(GNUInstallDirs)
set(QTX_DATADIR ${CMAKE_INSTALL_DATADIR}/quantorix)

install(FILES ${PROJECT_SOURCE_DIR}/res/quantorix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/quantorix-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quantorix.xml)
install(FILES ${PROJECT_SOURCE_DIR}/res/quantorix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/res/quantorix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-quantorix.svg)
install(FILES ${PROJECT_SOURCE_DIR}/res/io.github.quantorix.Quantorix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/res/qtx.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qtx)
install(FILES ${PROJECT_SOURCE_DIR}/examples/sample.qtx
        DESTINATION ${QTX_DATADIR}/examples)

# Manual pages and the changelog go compressed, as Debian wants them.
set(qtx_gz_dir ${CMAKE_BINARY_DIR}/gz)
set(qtx_gz_files)
foreach(src IN ITEMS docs/man/quantorix.1 docs/man/qtx.1 packaging/changelog)
  get_filename_component(base ${src} NAME)
  set(out ${qtx_gz_dir}/${base}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${qtx_gz_dir}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${src} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/${src} VERBATIM)
  list(APPEND qtx_gz_files ${out})
endforeach()
add_custom_target(qtx_compressed_docs ALL DEPENDS ${qtx_gz_files})
install(FILES ${qtx_gz_dir}/quantorix.1.gz ${qtx_gz_dir}/qtx.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${qtx_gz_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quantorix)

set(CPACK_PACKAGE_NAME quantorix)
set(CPACK_PACKAGE_VENDOR "The Quantorix developers")
set(CPACK_PACKAGE_CONTACT "The Quantorix developers <maintainers@quantorix.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculation sheet for construction quantity take-off")
set(CPACK_PACKAGE_DESCRIPTION "Quantorix (计量底稿) is the calculation sheet of the quantity surveyor: each
row holds a location, a category, an expression with annotations, a unit
and a name other rows can use. Rows are calculated as they are left and
summary items total them per category. Sheets are printed with headers and
page numbers, exported to Excel and compared with one another.

The package holds the desktop program quantorix and the command line qtx.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs read at run time besides the libraries they link.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
