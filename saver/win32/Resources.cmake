# The saver's resource object: icons painted by make_icons.py at build time, the
# manifest and version header filled in from the project version, and Spindrel.rc
# compiled against them. An OBJECT library, so the resources reach the executable
# (a static archive would let the linker drop them: nothing refers to them).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(spindrel_resource_dir ${CMAKE_CURRENT_BINARY_DIR}/resources)
set(spindrel_icons ${spindrel_resource_dir}/main.ico ${spindrel_resource_dir}/uninstall.ico
  ${spindrel_resource_dir}/configure.ico)
add_custom_command(
  OUTPUT ${spindrel_icons}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/make_icons.py ${spindrel_resource_dir}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_icons.py
  COMMENT "Painting the saver's icons"
  VERBATIM)
add_custom_target(spindrel_saver_icons DEPENDS ${spindrel_icons})

foreach(part MAJOR MINOR PATCH TWEAK)
  set(version_${part} 0)  # parts the project version leaves out
  if(PROJECT_VERSION_${part})
    set(version_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(SPINDREL_VERSION_QUAD ${version_MAJOR}.${version_MINOR}.${version_PATCH}.${version_TWEAK})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/Spindrel.manifest ${spindrel_resource_dir}/Spindrel.manifest @ONLY)
file(CONFIGURE OUTPUT ${spindrel_resource_dir}/SpindrelVersion.h CONTENT
"#define SPINDREL_VERSION_COMMAS ${version_MAJOR},${version_MINOR},${version_PATCH},${version_TWEAK}
#define SPINDREL_VERSION_TEXT \"${PROJECT_VERSION}\"
")

add_library(spindrel_saver_resources OBJECT Spindrel.rc)
target_include_directories(spindrel_saver_resources PRIVATE ${spindrel_resource_dir})
add_dependencies(spindrel_saver_resources spindrel_saver_icons)
# The .rc compiler does not scan for the files it embeds.
set_source_files_properties(Spindrel.rc PROPERTIES OBJECT_DEPENDS
  "${spindrel_icons};${spindrel_resource_dir}/Spindrel.manifest;${spindrel_resource_dir}/SpindrelVersion.h")
