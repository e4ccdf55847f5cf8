# Installation: the program folder that every operator of a press PC shares (the recorder, the
# simulator, the help collection and DBCustom; VE17.ini is the program's own and made on first
# start), and the desktop's menu entry, icons and software-centre data.
include(GNUInstallDirs)

set(VE17_PROGRAM_FOLDER /opt/ve17 CACHE PATH
  "The program folder: ve17, ve17-sim, the help collection; VE17.ini and DBCustom live there")
set(VE17_DESKTOP_ID org.example.ve17)

install(TARGETS ve17 ve17-sim RUNTIME DESTINATION ${VE17_PROGRAM_FOLDER})
if(TARGET ve17_help)
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ve17.qhc ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ve17.qch
    DESTINATION ${VE17_PROGRAM_FOLDER})
endif()
install(DIRECTORY DESTINATION ${VE17_PROGRAM_FOLDER}/DBCustom)

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
configure_file(${packaging}/ve17.desktop.in ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.desktop
  @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${VE17_DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The menu's icon is the window's own at 32 pixels, drawn at the other sizes by
# tools/make-about-pictures.
set(VE17_ICON_SIZES 16 24 32 48 64 128 256)
foreach(size ${VE17_ICON_SIZES})
  set(icon ${packaging}/icons/${size}.png)
  if(size EQUAL 32)
    set(icon ${PROJECT_SOURCE_DIR}/assets/about/icon.png)
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${VE17_DESKTOP_ID}.png)
endforeach()
