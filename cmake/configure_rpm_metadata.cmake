# The .rpm of a release build, for Fedora, RHEL and its rebuilds, openSUSE
# and Amazon Linux: datora-VERSION-1.ARCH.rpm, made by rpmbuild through
# CPack's RPM generator.
list(APPEND CPACK_GENERATOR RPM)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_GROUP "Applications/File")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# The files stay where the packages put them: /usr/bin, the manual and the
# completion folder.
set(CPACK_PACKAGE_RELOCATABLE OFF)
# Folders that other packages own.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/share/bash-completion /usr/share/bash-completion/completions
    /usr/share/man /usr/share/man/man1)

# The changelog as the %changelog section of the RPM package's build recipe.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CPACK_RPM_CHANGELOG_FILE "${DATORA_PACKAGE_FILES}/changelog.rpm")
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/rpm_changelog.py
          "${DATORA_CHANGELOG}" ${CPACK_RPM_PACKAGE_RELEASE} "${CPACK_RPM_CHANGELOG_FILE}"
  COMMAND_ERROR_IS_FATAL ANY)

# rpm 4.18 takes the build host's name and the time of the build unless
# told otherwise; with these the package's bytes depend on the commit alone.
# rpmbuild's own strip and compression steps are left out: CPack has
# stripped the binary with the target's tools and the manual page is
# compressed already.
set(CPACK_RPM_SPEC_MORE_DEFINE "\
%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost localhost
%define packager ${DATORA_MAINTAINER}
%define __os_install_post %{nil}")
