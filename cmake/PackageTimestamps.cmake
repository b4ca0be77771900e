# Makes two package builds from one commit give the same bytes: cpack includes this file
# (CPACK_PROJECT_CONFIG_FILE) before it packs, and both of its generators used here, DEB and
# ZIP, give every file, folder and archive member the time SOURCE_DATE_EPOCH when it is set.
# Without it in the environment, it becomes the commit date of the source tree's HEAD, or,
# outside a git checkout, the release date (STATIONDIFF_RELEASE_DATE at midnight UTC).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_epoch "")
  if(CPACK_STATIONDIFF_GIT)
    execute_process(
      COMMAND "${CPACK_STATIONDIFF_GIT}" -C "${CPACK_STATIONDIFF_SOURCE_DIR}" log -1 --format=%ct
      OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT _epoch MATCHES "^[0-9]+$")
    set(_epoch "${CPACK_STATIONDIFF_RELEASE_EPOCH}")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${_epoch}")
endif()
# A ZIP stores local times: the same in every time zone when packed in UTC.
set(ENV{TZ} UTC)
