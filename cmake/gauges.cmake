# The two ways to build gauge modules. Each module becomes
#  - win32: the deliverable <dist>/gauges/<name>.gau, a stripped PE32 DLL exporting only
#    Linkage (ordinal 1) and ImportTable (ordinal 2), with the C and C++ runtimes linked
#    statically, its bitmaps as BITMAP resources and the version resource;
#  - native: <dist>/lib/<name>.so from the same sources, its bitmaps in a table under
#    one extra export, for the host and the tests.
# A module's source sees its own name as VK4_GAUGE_NAME.

# vk4_add_gauge(NAME SOURCE file [ART name] [EXTRA_EXPORTS file])
#   ART: take the bitmaps of another module's artwork (test fixtures).
#   EXTRA_EXPORTS: for test fixtures only, a .def (win32) / version script (native)
#   that replaces the deliverable's two exports.
function(vk4_add_gauge NAME)
  cmake_parse_arguments(G "" "SOURCE;ART;OUTPUT_DIR;WIN32_DEF;NATIVE_MAP" "" ${ARGN})
  if(NOT G_SOURCE)
    message(FATAL_ERROR "vk4_add_gauge(${NAME}): SOURCE is required")
  endif()
  if(NOT G_ART)
    set(G_ART ${NAME})
  endif()
  set(art "${VK4_ART_DIR}/${G_ART}")
  if(WIN32)
    if(NOT G_OUTPUT_DIR)
      set(G_OUTPUT_DIR "${VK4_DIST_DIR}/gauges")
    endif()
    if(NOT G_WIN32_DEF)
      set(G_WIN32_DEF "${PROJECT_SOURCE_DIR}/framework/module.def")
    endif()
    set(VK4_RC_NAME ${NAME})
    set(VK4_RC_BITMAPS "${art}/bitmaps.rc")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/gauge.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.rc" @ONLY)
    set_source_files_properties("${CMAKE_CURRENT_BINARY_DIR}/${NAME}.rc" PROPERTIES
      OBJECT_DEPENDS "${art}/bitmaps.rc")
    add_library(${NAME} MODULE ${G_SOURCE} "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.rc" ${G_WIN32_DEF})
    set_target_properties(${NAME} PROPERTIES PREFIX "" SUFFIX ".gau"
      LIBRARY_OUTPUT_DIRECTORY "${G_OUTPUT_DIR}" RUNTIME_OUTPUT_DIRECTORY "${G_OUTPUT_DIR}")
    target_link_options(${NAME} PRIVATE -s -Wl,--exclude-all-symbols)
  else()
    if(NOT G_OUTPUT_DIR)
      set(G_OUTPUT_DIR "${VK4_DIST_DIR}/lib")
    endif()
    if(NOT G_NATIVE_MAP)
      set(G_NATIVE_MAP "${PROJECT_SOURCE_DIR}/framework/exports.map")
    endif()
    set_source_files_properties("${art}/bitmaps.S" PROPERTIES GENERATED TRUE)
    add_library(${NAME} MODULE ${G_SOURCE} "${art}/bitmaps.S")
    add_dependencies(${NAME} vk4_artwork)
    set_target_properties(${NAME} PROPERTIES PREFIX "" SUFFIX ".so"
      LIBRARY_OUTPUT_DIRECTORY "${G_OUTPUT_DIR}"
      CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
      LINK_DEPENDS "${G_NATIVE_MAP}")
    target_link_options(${NAME} PRIVATE "-Wl,--version-script=${G_NATIVE_MAP}")
    if(NOT VK4_FUZZ)
      # (Under clang's sanitizers a module leaves the runtime's symbols to the program.)
      target_link_options(${NAME} PRIVATE -Wl,--no-undefined)
    endif()
  endif()
  target_compile_definitions(${NAME} PRIVATE VK4_GAUGE_NAME="${NAME}")
  target_link_libraries(${NAME} PRIVATE vk4_framework)
  set_property(GLOBAL APPEND PROPERTY VK4_GAUGES ${NAME})
  set_property(GLOBAL APPEND PROPERTY VK4_ART_NAMES ${G_ART})
endfunction()

# vk4_add_gauge_family(SOURCE file MEMBERS name...): one module per member, all from
# the one source, which finds its row of the family table by VK4_GAUGE_NAME.
function(vk4_add_gauge_family)
  cmake_parse_arguments(F "" "SOURCE" "MEMBERS" ${ARGN})
  if(NOT F_SOURCE OR NOT F_MEMBERS)
    message(FATAL_ERROR "vk4_add_gauge_family: SOURCE and MEMBERS are required")
  endif()
  foreach(member IN LISTS F_MEMBERS)
    vk4_add_gauge(${member} SOURCE ${F_SOURCE})
  endforeach()
endfunction()

# Native only, after every module is added: one run of the artwork program draws every
# picture. A module's resource lists change only when its pictures do, so a new drawing
# relinks only the modules it touches.
function(vk4_artwork_rule)
  get_property(names GLOBAL PROPERTY VK4_ART_NAMES)
  list(REMOVE_DUPLICATES names)
  set(outputs "")
  foreach(n IN LISTS names)
    list(APPEND outputs "${VK4_ART_DIR}/${n}/bitmaps.S" "${VK4_ART_DIR}/${n}/bitmaps.rc")
  endforeach()
  add_custom_command(
    OUTPUT "${VK4_ART_DIR}/stamp"
    BYPRODUCTS ${outputs}
    # Fontconfig keeps its caches to the end: no leak report for the artwork program.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:vk4_art> "${VK4_ART_DIR}"
    COMMAND ${CMAKE_COMMAND} -E touch "${VK4_ART_DIR}/stamp"
    DEPENDS vk4_art
    COMMENT "Drawing the panel's bitmaps")
  add_custom_target(vk4_artwork ALL DEPENDS "${VK4_ART_DIR}/stamp")
endfunction()
