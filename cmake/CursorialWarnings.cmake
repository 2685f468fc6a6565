# Warning set for all of our own targets. Third-party headers come in as system headers
# (imported targets), so they do not trip these.
add_library(cursorial_warnings INTERFACE)
target_compile_options(cursorial_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wmissing-declarations
    $<$<BOOL:${CURSORIAL_WERROR}>:-Werror>)

# cursorial_module(<name> [QT] SOURCES ... [LIBS ...])
# Declares one static library of a source folder. Without QT the library may not reach Qt:
# the core stays free of it, and the build fails if a core header includes a Qt header
# because Qt's include folders are simply not on its path.
function(cursorial_module name)
    cmake_parse_arguments(M "QT" "" "SOURCES;LIBS" ${ARGN})
    if(NOT M_SOURCES)
        # A folder that has no sources yet contributes nothing rather than breaking the build.
        return()
    endif()
    add_library(${name} STATIC ${M_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${M_LIBS} PRIVATE cursorial_warnings)
    if(NOT M_QT)
        set_property(GLOBAL APPEND PROPERTY CURSORIAL_CORE_MODULES ${name})
    endif()
endfunction()
