# Runs at install time: the desktop entry names the example's folder under the prefix being
# installed to, which CPack chooses apart from CMAKE_INSTALL_PREFIX at configure time.
# Expects VINTREL_DESKTOP_ENTRY_IN, VINTREL_DESKTOP_ENTRY_OUT, VINTREL_DATADIR, VINTREL_APP_ID
# and VINTREL_WM_CLASS.
set(VINTREL_INSTALLED_EXAMPLE_DIR "${CMAKE_INSTALL_PREFIX}/${VINTREL_DATADIR}/vintrel/example")
configure_file(${VINTREL_DESKTOP_ENTRY_IN} ${VINTREL_DESKTOP_ENTRY_OUT} @ONLY)
file(INSTALL ${VINTREL_DESKTOP_ENTRY_OUT}
     DESTINATION "${CMAKE_INSTALL_PREFIX}/${VINTREL_DATADIR}/applications")
