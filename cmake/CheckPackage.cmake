# cmake -DBUILD=<build dir> -DWORK=<scratch dir> -P CheckPackage.cmake
# Builds the Debian package, unpacks it into a scratch root and checks what
# an installation gets: programs, launcher, desktop entry, unit, dependencies.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/root")
execute_process(COMMAND cpack -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs "${WORK}/*.deb")
list(LENGTH debs n)
if(NOT n EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${debs}")
endif()
execute_process(COMMAND dpkg-deb -x "${debs}" "${WORK}/root" RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-deb -f "${debs}" Depends Recommends OUTPUT_VARIABLE fields)

set(faults "")
foreach(f usr/bin/kelma usr/lib/kelma/kelma usr/bin/kelma-admin usr/bin/kelma-fileserver usr/bin/kelma-versiyon
          usr/share/applications/kelma.desktop usr/share/icons/hicolor/scalable/apps/kelma.svg
          usr/lib/systemd/system/kelma-fileserver.service usr/share/kelma/masterdata/file_plan.csv)
    if(NOT EXISTS "${WORK}/root/${f}")
        string(APPEND faults "missing ${f}\n")
    endif()
endforeach()
file(READ "${WORK}/root/usr/share/applications/kelma.desktop" desktop)
foreach(line "Exec=kelma" "Icon=kelma" "Type=Application")
    string(FIND "${desktop}" "${line}" at)
    if(at LESS 0)
        string(APPEND faults "desktop entry lacks ${line}\n")
    endif()
endforeach()
foreach(dep libfbclient2 firebird3.0-server-core libqt6widgets6 libqt6network6 libreoffice-writer-nogui
           libreoffice-calc-nogui)
    string(FIND "${fields}" "${dep}" at)
    if(at LESS 0)
        string(APPEND faults "dependencies lack ${dep}: ${fields}\n")
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "${faults}")
endif()
message(STATUS "package ${debs} holds what an installation needs")
