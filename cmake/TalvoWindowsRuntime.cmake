# What the mingw-w64 Qt program needs beside it at run time, in one list
# for the build folder (tests under Wine) and the install (the zip): the
# compiler's runtime DLLs, Qt's DLLs, the Windows platform plugin and, where
# built, the native style plugin.
include_guard(GLOBAL)

function(_talvo_windows_runtime_files dlls platforms styles)
  set(out)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "${dll} of ${CMAKE_CXX_COMPILER} not found")
    endif()
    get_filename_component(path "${path}" REALPATH)
    list(APPEND out "${path}")
  endforeach()
  foreach(module Core Gui Widgets)
    list(APPEND out "$<TARGET_FILE:Qt6::${module}>")
  endforeach()
  set(${dlls} "${out}" PARENT_SCOPE)
  set(${platforms} "$<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>" PARENT_SCOPE)
  set(style "")
  if(TARGET Qt6::QWindowsVistaStylePlugin)
    set(style "$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>")
  endif()
  set(${styles} "${style}" PARENT_SCOPE)
endfunction()

# talvo_windows_runtime(<target> <dir>...): a target copying the files into
# each <dir> (plugins into its platforms/ and styles/).
function(talvo_windows_runtime name)
  _talvo_windows_runtime_files(dlls platforms styles)
  set(commands)
  foreach(dir ${ARGN})
    list(APPEND commands
      COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}/platforms"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} "${dir}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platforms} "${dir}/platforms")
    if(styles)
      list(APPEND commands
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}/styles"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${styles} "${dir}/styles")
    endif()
  endforeach()
  add_custom_target(${name} ${commands} VERBATIM)
endfunction()

# talvo_windows_install(<program>): install rules putting the program and
# its runtime into one folder, as the zip holds them.
function(talvo_windows_install program)
  _talvo_windows_runtime_files(dlls platforms styles)
  install(TARGETS ${program} RUNTIME DESTINATION .)
  install(FILES ${dlls} DESTINATION .)
  install(FILES ${platforms} DESTINATION platforms)
  if(styles)
    install(FILES ${styles} DESTINATION styles)
  endif()
endfunction()
