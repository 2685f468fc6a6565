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
    if(M_QT)
        set_target_properties(${name} PROPERTIES CURSORIAL_QT_MODULE ON)
    else()
        set_property(GLOBAL APPEND PROPERTY CURSORIAL_CORE_MODULES ${name})
    endif()
endfunction()

# The core never reaches Qt: once every folder is configured, walk each core module's links
# (through our own libraries) and stop the configuration at the first Qt target or a window-side
# module. Its include path already keeps Qt headers out; this keeps Qt libraries out too.
function(cursorial_check_core_links)
    get_property(core GLOBAL PROPERTY CURSORIAL_CORE_MODULES)
    foreach(module IN LISTS core)
        set(pending ${module})
        set(seen "")
        while(pending)
            list(POP_FRONT pending current)
            if(current IN_LIST seen)
                continue()
            endif()
            list(APPEND seen ${current})
            if(current MATCHES "^Qt[0-9]*::" OR current MATCHES "^Qt[0-9]")
                message(FATAL_ERROR "core module ${module} links Qt (${current})")
            endif()
            if(NOT TARGET ${current})
                continue()
            endif()
            get_target_property(imported ${current} IMPORTED)
            if(imported)
                continue()
            endif()
            get_target_property(qt_module ${current} CURSORIAL_QT_MODULE)
            if(qt_module)
                message(FATAL_ERROR "core module ${module} links the window-side ${current}")
            endif()
            get_target_property(links ${current} LINK_LIBRARIES)
            if(links)
                list(APPEND pending ${links})
            endif()
        endwhile()
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL cursorial_check_core_links)
