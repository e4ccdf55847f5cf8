# Installation: the program's folder (the recorder, the archive's program, the simulator, the
# help collection), which
# only root writes, so that no operator can replace what another one runs; the state folder
# (VE17_STATE_FOLDER, src/platform) with VE17.ini and DBCustom, which the operators of a press PC
# share; and the desktop's menu entries, icons and software-centre data.
include(GNUInstallDirs)

set(VE17_PROGRAM_FOLDER /opt/ve17 CACHE PATH
  "The program's folder: ve17, ve17-archive, ve17-sim and the help collection")
set(VE17_DESKTOP_ID org.example.ve17)
# The program's own files in its folder: the package tells them from what others left there.
set(VE17_PROGRAM_FILES ve17 ve17-archive ve17-sim)

install(TARGETS ve17 ve17-archive ve17-sim RUNTIME DESTINATION ${VE17_PROGRAM_FOLDER})
if(TARGET ve17_help)
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ve17.qhc ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ve17.qch
    DESTINATION ${VE17_PROGRAM_FOLDER})
  list(APPEND VE17_PROGRAM_FILES ve17.qhc ve17.qch)
endif()

# VE17.ini is the operators' and made on first start; DBCustom is where their tests go.
if(VE17_STATE_FOLDER)
  cmake_path(IS_PREFIX VE17_PROGRAM_FOLDER "${VE17_STATE_FOLDER}" NORMALIZE state_in_program)
  cmake_path(IS_PREFIX VE17_STATE_FOLDER "${VE17_PROGRAM_FOLDER}" NORMALIZE program_in_state)
  if(state_in_program OR program_in_state)
    message(FATAL_ERROR "VE17_STATE_FOLDER (${VE17_STATE_FOLDER}) must lie apart from "
      "VE17_PROGRAM_FOLDER (${VE17_PROGRAM_FOLDER}): the operators write the one, only root the other")
  endif()
  install(DIRECTORY DESTINATION ${VE17_STATE_FOLDER}/DBCustom)
endif()

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
# The menu's entries: the recorder, and the archive's window (its id is the one the window
# gives itself, src/archive/window_main.cpp).
configure_file(${packaging}/ve17.desktop.in ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.desktop
  @ONLY)
configure_file(${packaging}/ve17-archive.desktop.in
  ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.archive.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.desktop
  ${PROJECT_BINARY_DIR}/packaging/${VE17_DESKTOP_ID}.archive.desktop
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
