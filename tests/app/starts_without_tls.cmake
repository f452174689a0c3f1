# The program must not need OpenSSL to start: it is loaded when the first secure service is
# asked for. Fails when the program, or anything it loads at start, links it again.
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES "${PROGRAM}" RESOLVED_DEPENDENCIES_VAR loaded
     UNRESOLVED_DEPENDENCIES_VAR unresolved)
foreach(library IN LISTS loaded unresolved)
  if(library MATCHES "/?lib(ssl|crypto)\\.so")
    message(FATAL_ERROR "${PROGRAM} loads ${library} at start")
  endif()
endforeach()
