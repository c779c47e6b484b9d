# The program is built in layers, lowest first: the device link, the feature logic, the platform
# layer, the view and the app. Each layer is one static library made of one or more source folders
# (tk700_folder), and links only the layers below it.
#
# A folder's headers are reached as "<folder>/<name>.h" through an include root of its own: a
# directory in the build tree that holds a forwarding header for each of them. Code sees only the
# roots of its own folder, of the folders named in SEES and of the layers it links, so an include of
# a folder above (or of a sibling it must not use) does not build. Folders marked QTCORE_ONLY also
# get a directory that turns every QtGui, QtWidgets, QtQuick and QtQml header into an error, even
# when it is named with its module ("QtGui/QColor").

set(TK700_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)
set(TK700_QTCORE_ONLY_DIR ${CMAKE_CURRENT_LIST_DIR}/qtcore-only)

# The include root of source folder <folder>, written or brought up to date now (and again whenever
# a header is added or removed there).
function(tk700_include_root folder out_var)
  set(root ${TK700_INCLUDE_ROOTS}/${folder})
  set(source ${CMAKE_SOURCE_DIR}/${folder})
  file(GLOB headers RELATIVE ${source} CONFIGURE_DEPENDS ${source}/*.h)
  file(GLOB existing RELATIVE ${root}/${folder} ${root}/${folder}/*.h)
  foreach(header IN LISTS existing)
    if(NOT header IN_LIST headers)
      file(REMOVE ${root}/${folder}/${header})
    endif()
  endforeach()
  foreach(header IN LISTS headers)
    # Written only when the text changes, so nothing is rebuilt for nothing.
    file(CONFIGURE OUTPUT ${root}/${folder}/${header}
         CONTENT "#include \"${source}/${header}\"\n")
  endforeach()
  set(${out_var} ${root} PARENT_SCOPE)
endfunction()

# tk700_folder(<folder> LAYER <layer> [QTCORE_ONLY] [SEES <folders>...]
#              [PUBLIC <libs>...] [PRIVATE <libs>...] SOURCES <files>...)
#   Compiles the sources of <folder> (an object library <layer>_<folder>), and each of its
#   headers on its own, and puts them into <layer>. They see their own folder, the folders in SEES (of the same layer) and what the
#   libraries they link bring; users of <layer> see <folder>. PUBLIC libraries are also linked by
#   the layer's users.
function(tk700_folder folder)
  cmake_parse_arguments(F "QTCORE_ONLY" "LAYER" "SEES;PUBLIC;PRIVATE;SOURCES" ${ARGN})
  set(objects ${F_LAYER}_${folder})
  add_library(${objects} OBJECT ${F_SOURCES})
  tk700_include_root(${folder} root)
  target_include_directories(${objects} PRIVATE ${root})
  foreach(seen IN LISTS F_SEES)
    tk700_include_root(${seen} seen_root)
    target_include_directories(${objects} PRIVATE ${seen_root})
  endforeach()
  if(F_QTCORE_ONLY)
    # First, before Qt's own directories.
    target_include_directories(${objects} BEFORE PRIVATE ${TK700_QTCORE_ONLY_DIR})
  endif()
  target_link_libraries(${objects} PRIVATE ${F_PUBLIC} ${F_PRIVATE})
  # Each header is also compiled on its own, in this folder's place: an include in a header that
  # no source of the folder includes cannot slip past, and every header stands alone.
  foreach(source IN LISTS F_SOURCES)
    if(source MATCHES "\\.h$")
      get_filename_component(name ${source} NAME_WE)
      set(check ${CMAKE_BINARY_DIR}/header-checks/${folder}/${name}.cpp)
      file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${folder}/${source}\"\n")
      target_sources(${objects} PRIVATE ${check})
    endif()
  endforeach()

  target_sources(${F_LAYER} PRIVATE $<TARGET_OBJECTS:${objects}>)
  target_include_directories(${F_LAYER} INTERFACE ${root})
  target_link_libraries(${F_LAYER} PUBLIC ${F_PUBLIC} PRIVATE ${F_PRIVATE})
endfunction()

# tk700_install_program(<target>)
#   Installs the executable <target> into TK700_INSTALL_DIR, beside the runtime folders it finds
#   through its own resolved path, and links bin/<target> to it.
function(tk700_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${TK700_INSTALL_DIR})
  file(RELATIVE_PATH link_target /prefix/bin /prefix/${TK700_INSTALL_DIR}/${target})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${target}\")
    message(STATUS \"Installing: \${link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ${link_target} \"\${link}\" SYMBOLIC)")
endfunction()
