# Run at install time (install(CODE)): writes the site files whose contents depend on where
# the programs are installed. Under the prefix /usr (the Debian packages) they go to /etc,
# /lib/systemd/system and /var/lib/medrec; under any other prefix they stay inside it
# (PREFIX/etc/medrec, ...), so `cmake --install --prefix DIR` never writes outside DIR.
# Expects MEDREC_TEMPLATES (this folder), MEDREC_STAGING (a scratch folder of the build),
# MEDREC_BINDIR and MEDREC_DATADIR (relative to the prefix), and CMAKE_INSTALL_PREFIX as
# the install sets it.

if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(MEDREC_ETCDIR /etc/medrec)
  set(MEDREC_UNITDIR /lib/systemd/system)
  set(MEDREC_STATEDIR /var/lib/medrec)
else()
  set(MEDREC_ETCDIR ${CMAKE_INSTALL_PREFIX}/etc/medrec)
  set(MEDREC_UNITDIR ${CMAKE_INSTALL_PREFIX}/lib/systemd/system)
  set(MEDREC_STATEDIR ${CMAKE_INSTALL_PREFIX}/var/lib/medrec)
endif()

# Configures TEMPLATE with @ONLY and installs it as DESTINATION/NAME.
function(medrec_install_configured template destination name)
  set(staged "${MEDREC_STAGING}/${name}")
  configure_file("${MEDREC_TEMPLATES}/${template}" "${staged}" @ONLY)
  file(INSTALL DESTINATION "${destination}" TYPE FILE PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
       FILES "${staged}")
endfunction()

# The client's site environment file, naming the field table installed with the client.
function(medrec_install_client_site_files)
  set(BINDIR ${CMAKE_INSTALL_PREFIX}/${MEDREC_BINDIR})
  set(DOCDIR ${CMAKE_INSTALL_PREFIX}/${MEDREC_DATADIR}/doc/medrec)
  set(fields ${CMAKE_INSTALL_PREFIX}/${MEDREC_DATADIR}/medrec/fields.tbl)
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(FIELD_TABLE ${fields})
  else()
    file(RELATIVE_PATH FIELD_TABLE "${MEDREC_ETCDIR}" "${fields}")
  endif()
  medrec_install_configured(His.env.in "${MEDREC_ETCDIR}" His.env)
endfunction()

# The service host's configuration file and systemd unit.
function(medrec_install_server_site_files)
  set(BINDIR ${CMAKE_INSTALL_PREFIX}/${MEDREC_BINDIR})
  set(DOCDIR ${CMAKE_INSTALL_PREFIX}/${MEDREC_DATADIR}/doc/medrec-server)
  set(ETCDIR ${MEDREC_ETCDIR})
  set(STATEDIR ${MEDREC_STATEDIR})
  set(DATABASE ${MEDREC_STATEDIR}/medrec.db)
  set(FIELD_TABLE ${CMAKE_INSTALL_PREFIX}/${MEDREC_DATADIR}/medrec-server/fields.tbl)
  medrec_install_configured(medrec-server.conf.in "${MEDREC_ETCDIR}" medrec-server.conf)
  medrec_install_configured(medrec-server.service.in "${MEDREC_UNITDIR}" medrec-server.service)
endfunction()
