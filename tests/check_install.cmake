# What an installation of Brevika holds, run with cmake -P.
#
#   -DMODE=tree  cmake --install of the build tree into SCRATCH/root (DESTDIR,
#                prefix /usr); the desktop entry and the AppStream metadata
#                are validated there.
#   -DMODE=deb   cpack makes the .deb in SCRATCH; dpkg-deb -x unpacks it into
#                SCRATCH/root; its control fields and owners are checked.
#   -DMODE=lintian  cpack makes the .deb in SCRATCH and lintian must report
#                no error and no warning on it; without lintian the test says
#                so and is skipped.
#
# For tree and deb the root must hold exactly the files below, brevika-calc
# must run from it, and the manual pages and the changelog must be the
# configured ones.
# Also given: BUILD_DIR, SCRATCH, VERSION, and for MODE=tree
# DESKTOP_FILE_VALIDATE, APPSTREAMCLI and MAN, for MODE=deb and MODE=lintian
# CPACK and DPKG_DEB.

set(expected
  usr/bin/brevika
  usr/bin/brevika-calc
  usr/share/applications/brevika.desktop
  usr/share/doc/brevika/changelog.gz
  usr/share/doc/brevika/copyright
  usr/share/icons/hicolor/scalable/apps/brevika.svg
  usr/share/man/man1/brevika-calc.1.gz
  usr/share/man/man1/brevika.1.gz
  usr/share/metainfo/org.brevika.Brevika.metainfo.xml)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "${line}: exit ${rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

foreach(tool DESKTOP_FILE_VALIDATE APPSTREAMCLI MAN DPKG_DEB)
  if(DEFINED ${tool} AND NOT ${tool})
    message(FATAL_ERROR "${tool} not found: bash scripts/install-deps.sh installs it")
  endif()
endforeach()

# Looked up when the test runs, so that installing lintian needs no new
# configuration of the build.
if(MODE STREQUAL "lintian")
  find_program(LINTIAN lintian)
  if(NOT LINTIAN)
    message("lintian is not installed: the package is not checked against Debian policy")
    return()
  endif()
endif()

file(REMOVE_RECURSE ${SCRATCH})
set(root ${SCRATCH}/root)
file(MAKE_DIRECTORY ${root})

# The one .deb cpack makes from BUILD_DIR, into SCRATCH.
function(make_deb var)
  run(${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${SCRATCH})
  file(GLOB debs ${SCRATCH}/brevika_*.deb)
  list(LENGTH debs n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "cpack made ${n} packages: ${debs}")
  endif()
  set(${var} ${debs} PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "lintian")
  make_deb(deb)
  # Errors and warnings fail; the notes lintian prints for information
  # (I:, P:) and its remark about running as root do not.
  execute_process(COMMAND ${LINTIAN} --no-cfg --fail-on error,warning ${deb}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian ${deb}: exit ${rc}\n${out}${err}")
  endif()
  file(REMOVE_RECURSE ${SCRATCH})
  return()
endif()

if(MODE STREQUAL "tree")
  set(ENV{DESTDIR} ${root})
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)
  unset(ENV{DESTDIR})
elseif(MODE STREQUAL "deb")
  make_deb(debs)
  get_filename_component(deb_name ${debs} NAME)
  run(${DPKG_DEB} -f ${debs} Package Version Architecture Depends Recommends)
  set(fields "${out}")
  get_filename_component(dpkg_dir ${DPKG_DEB} DIRECTORY)
  run(${dpkg_dir}/dpkg --print-architecture)
  string(STRIP "${out}" arch)
  if(NOT deb_name STREQUAL "brevika_${VERSION}_${arch}.deb")
    message(FATAL_ERROR "package file ${deb_name}, expected brevika_${VERSION}_${arch}.deb")
  endif()
  foreach(want "Package: brevika\n" "Version: ${VERSION}\n" "Architecture: ${arch}\n"
          "Recommends: fonts-liberation\n")
    string(FIND "${fields}" "${want}" at)
    if(at LESS 0)
      message(FATAL_ERROR "control fields lack '${want}':\n${fields}")
    endif()
  endforeach()
  # The Qt and C++ libraries the programs link, as dpkg-shlibdeps found them.
  foreach(lib libc6 libstdc\\+\\+6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6)
    if(NOT fields MATCHES "Depends:[^\n]*[ ,]${lib} \\(>= [^)]+\\)")
      message(FATAL_ERROR "Depends does not name ${lib} with a version:\n${fields}")
    endif()
  endforeach()
  run(${DPKG_DEB} -c ${debs})
  string(REGEX MATCHALL "[^\n]+" entries "${out}")
  foreach(entry IN LISTS entries)
    if(NOT entry MATCHES "^[-dl]r[-w][-x]r-[-x]r-[-x] root/root ")
      message(FATAL_ERROR "not owned by root or writable by others: ${entry}")
    endif()
  endforeach()
  run(${DPKG_DEB} -x ${debs} ${root})
else()
  message(FATAL_ERROR "MODE is tree or deb, not '${MODE}'")
endif()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " f "${found}")
  string(REPLACE ";" "\n  " e "${expected}")
  message(FATAL_ERROR "installed files:\n  ${f}\nexpected:\n  ${e}")
endif()

# The installed command line runs and computes.
set(ENV{LC_ALL} C)
run(${root}/usr/bin/brevika-calc loan --amount 100000 --periods 360 --rate 7.5)
if(NOT out MATCHES "\nPeriodic Payment: +\\$699\\.21\n")
  message(FATAL_ERROR "installed brevika-calc printed:\n${out}")
endif()

# The manual pages are the configured ones, compressed.
foreach(page brevika.1 brevika-calc.1)
  run(gzip -dc ${root}/usr/share/man/man1/${page}.gz)
  file(READ ${BUILD_DIR}/man/${page} configured)
  if(NOT out STREQUAL configured)
    message(FATAL_ERROR "usr/share/man/man1/${page}.gz is not ${BUILD_DIR}/man/${page}")
  endif()
  if(out MATCHES "@[A-Z_]+@" OR NOT out MATCHES "\"Brevika ${VERSION}\"")
    message(FATAL_ERROR "${page}: the version is not filled in")
  endif()
endforeach()

# Software centres show the licence from the metadata.
file(READ ${root}/usr/share/metainfo/org.brevika.Brevika.metainfo.xml metainfo)
string(FIND "${metainfo}" "<project_license>GPL-3.0-or-later</project_license>" at)
if(at LESS 0)
  message(FATAL_ERROR "the AppStream metadata does not state the licence GPL-3.0-or-later")
endif()

# The changelog is the configured one, and its latest entry is this version.
run(gzip -dc ${root}/usr/share/doc/brevika/changelog.gz)
file(READ ${BUILD_DIR}/doc/changelog configured)
if(NOT out STREQUAL configured)
  message(FATAL_ERROR "usr/share/doc/brevika/changelog.gz is not ${BUILD_DIR}/doc/changelog")
endif()
if(NOT out MATCHES "^brevika \\(([^)]+)\\)" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the changelog's latest entry is not version ${VERSION}:\n${out}")
endif()

if(MODE STREQUAL "tree")
  run(${DESKTOP_FILE_VALIDATE} ${root}/usr/share/applications/brevika.desktop)
  if(NOT out STREQUAL "" OR NOT err STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate:\n${out}${err}")
  endif()
  # Validates the metadata and finds the desktop entry it launches.
  run(${APPSTREAMCLI} validate-tree --no-net ${root})
  # The manual pages format without a warning, as lintian formats them.
  set(ENV{LC_ALL} C.UTF-8)
  set(ENV{MANROFFSEQ} "")
  set(ENV{MANWIDTH} 80)
  foreach(page brevika.1 brevika-calc.1)
    run(${MAN} --warnings -E UTF-8 -l -Tutf8 -Z ${root}/usr/share/man/man1/${page}.gz)
    if(NOT err STREQUAL "")
      message(FATAL_ERROR "man ${page}:\n${err}")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE ${SCRATCH})
