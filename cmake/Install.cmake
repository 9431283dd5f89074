# Install.cmake - puts the three programs into the sysop's CGI directory,
# each with an example .cfg beside it:
#   cmake --install <build> --prefix /usr/lib/cgi-bin/bbs
# A .cfg that is already there is the sysop's own and is never replaced.

# The programs go straight into the prefix, so a bare `cmake --install`
# aims at Debian's CGI directory rather than at /usr/local.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /usr/lib/cgi-bin/bbs CACHE PATH "CGI directory the programs are installed into" FORCE)
endif()

install(TARGETS tembrix quandelo 5morvane RUNTIME DESTINATION .)

foreach(program tembrix quandelo 5morvane)
  set(example "${CMAKE_CURRENT_SOURCE_DIR}/examples/${program}.cfg")
  install(CODE "
    set(config \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${program}.cfg\")
    if(EXISTS \"\${config}\")
      message(STATUS \"Keeping: \${config}\")
    else()
      file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}\" TYPE FILE
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        FILES \"${example}\")
    endif()
  ")
endforeach()
