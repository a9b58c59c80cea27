# Sources are found by folder so that a new file needs no edit here. Within a
# subsystem folder, files at the top are logic without Qt (the core library);
# files under qt/ are its windows (the GUI library).
function(taloven_glob out)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${ARGN})
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
