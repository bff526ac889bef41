# What a program built against a Qt for mingw-w64 needs beside it on Windows: Qt's
# DLLs, the platform plugin, the style, and mingw-w64's own runtime DLLs.
get_filename_component(QUARVEL_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE quarvel_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(quarvel_gcc_runtime "${quarvel_libstdcxx}" DIRECTORY)
set(QUARVEL_MINGW_RUNTIME_DLLS
  ${quarvel_gcc_runtime}/libstdc++-6.dll
  ${quarvel_gcc_runtime}/libgcc_s_seh-1.dll
  /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
set(QUARVEL_QT_DLLS
  ${QUARVEL_QT_PREFIX}/bin/Qt6Core.dll
  ${QUARVEL_QT_PREFIX}/bin/Qt6Gui.dll
  ${QUARVEL_QT_PREFIX}/bin/Qt6Widgets.dll)
set(QUARVEL_QT_PLATFORM_PLUGIN ${QUARVEL_QT_PREFIX}/plugins/platforms/qwindows.dll)
set(QUARVEL_QT_STYLE_PLUGIN ${QUARVEL_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll)

# Copies the DLLs a Qt program (a test) needs beside it after each build, with the
# offscreen platform the tests draw on.
function(quarvel_copy_windows_runtime target)
  set(dir $<TARGET_FILE_DIR:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/platforms ${dir}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUARVEL_MINGW_RUNTIME_DLLS} ${QUARVEL_QT_DLLS}
            ${QUARVEL_QT_PREFIX}/bin/Qt6Test.dll ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUARVEL_QT_PLATFORM_PLUGIN}
            ${QUARVEL_QT_PREFIX}/plugins/platforms/qoffscreen.dll ${dir}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUARVEL_QT_STYLE_PLUGIN} ${dir}/styles
    VERBATIM)
endfunction()
