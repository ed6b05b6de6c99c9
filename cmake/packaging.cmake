# The Debian package: cpack -G DEB in the build folder. Its run-time dependencies come from
# dpkg-shlibdeps, which reads the libraries the two programs link; only the Qt platform
# plugins, which Qt loads at run time and no linker sees, are named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "tolvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rechner für den chinesischen Sechzigerzyklus")
set(CPACK_PACKAGE_DESCRIPTION
"Zeigt für eine Stunde und ein Datum Himmelsstamm und Erdzweig von Tag, Monat
und Jahr, den Zweig der Stunde, ihre Stellung im Zyklus der Sechzig, den
Jahresbeginn und die Wintersonnenwende, berechnet aus den VSOP87-Reihen der
Erde und Meeus' Mondreihe. Mit einem kleinen Notizfenster und dem
Befehlszeilenprogramm tolvane-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")  # the platform for Wayland desktops
set(CPACK_STRIP_FILES ON)
# Folders 0755 and files as installed, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
