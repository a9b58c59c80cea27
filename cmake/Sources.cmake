# Every room of src/ is a library of its own, on a floor: it links only the
# rooms below it. Its include folder holds links to its own headers alone,
# and it sees the headers of the rooms it links through theirs, so an
# include that points up a floor (or sideways to a room it does not link)
# fails as "file not found". Within a room folder, files at the top are
# logic without Qt; files under qt/ are its windows (the GUI library).
#
# taloven_room(<target> SOURCES <files> HEADERS <files> [USES <targets>])
function(taloven_room target)
  cmake_parse_arguments(ROOM "" "" "SOURCES;HEADERS;USES" ${ARGN})
  add_library(${target} STATIC ${ROOM_SOURCES})
  set(visible ${CMAKE_BINARY_DIR}/rooms/${target})
  file(REMOVE_RECURSE ${visible})
  foreach(header ${ROOM_HEADERS})
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR}/src ${header})
    get_filename_component(folder ${visible}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${header} ${visible}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${visible})
  target_link_libraries(${target} PUBLIC ${ROOM_USES})
endfunction()

# The files of one folder of src/, without its qt/ windows.
function(taloven_room_files folder sources headers)
  file(GLOB found_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  file(GLOB found_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(SORT found_sources)
  list(SORT found_headers)
  set(${sources} ${found_sources} PARENT_SCOPE)
  set(${headers} ${found_headers} PARENT_SCOPE)
endfunction()
