# Makes the modes in a package independent of the builder's umask. cpack runs this script twice:
#   - before packing (CPACK_PRE_BUILD_SCRIPTS), on its staging folder: the folders that the
#     install step creates for a destination (usr/, usr/bin/, usr/share/doc/...) have the mode
#     the umask leaves, drwx------ under `umask 077`. Every folder and program becomes 0755 and
#     every other file 0644.
#   - after packing (CPACK_POST_BUILD_SCRIPTS, with CPACK_PACKAGE_FILES set): a Debian package
#     is an ar archive whose three members' headers hold the modes that cpack's own files got
#     from the umask. They become 0644, as dpkg-deb writes them, with perl (which dpkg-dev's
#     dpkg-shlibdeps, needed for the package, runs on too).
if(NOT DEFINED CPACK_PACKAGE_FILES)
  set(_root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
  file(GLOB_RECURSE _entries LIST_DIRECTORIES true "${_root}/*")
  foreach(_entry IN LISTS _root _entries)
    if(IS_DIRECTORY "${_entry}" OR _entry MATCHES "/bin/[^/]+$|\\.exe$")
      file(CHMOD "${_entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    else()
      file(CHMOD "${_entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
  endforeach()
  return()
endif()

# An ar archive: "!<arch>\n", then per member a 60-byte header, whose mode is 8 octal digits
# and blanks at offset 40 and size 10 decimal digits and blanks at offset 48, then the data,
# padded to an even length.
set(_set_member_modes [=[
open(my $f, "+<:raw", $ARGV[0]) or die "$ARGV[0]: $!\n";
my $magic;
read($f, $magic, 8) == 8 && $magic eq "!<arch>\n" or die "$ARGV[0]: not an ar archive\n";
for (my $at = 8; seek($f, $at, 0) && read($f, my $header, 60) == 60;) {
  seek($f, $at + 40, 0) && print $f "100644  " or die "$ARGV[0]: $!\n";
  my $size = int(substr($header, 48, 10));
  $at += 60 + $size + $size % 2;
}
close($f) or die "$ARGV[0]: $!\n";
]=])
foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  if(_package MATCHES "\\.deb$")
    execute_process(COMMAND perl -e "${_set_member_modes}" "${_package}"
                    RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0)
      message(FATAL_ERROR "could not set the member modes of ${_package}")
    endif()
  endif()
endforeach()
