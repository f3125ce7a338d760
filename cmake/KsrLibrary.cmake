# ksr_add_library(<name> LIBS <targets...>)
# A static library of every source, header and form in the calling folder.

# The Qt and standard headers most sources include, compiled once per
# library: parsing them again took about a third of each source's build.
# Sources still include what they use (scripts/windows-check.sh compiles them
# without these).
option(KSR_LIBRARY_PCH "Precompile the common headers of each library" ON)
set(KSR_PCH_CORE <QString> <QStringList> <QVector> <QList> <QByteArray> <QDateTime> <QObject>
  <QCoreApplication> <QDir> <QFileInfo> <QFile> <QVariant> <QDebug> <QTimer>
  <algorithm> <cmath> <functional> <limits> <memory> <optional> <vector>)
set(KSR_PCH_WIDGETS <QWidget> <QDialog> <QLineEdit> <QLabel> <QMessageBox>)
set(KSR_PCH_SQL <QSqlDatabase> <QSqlQuery> <QSqlError>)
function(ksr_add_library name)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB SRC CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  list(FILTER SRC INCLUDE REGEX "\\.cpp$")
  if(NOT SRC)
    # Nothing built here yet: an empty interface keeps the tree configurable.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_LIBS})
    return()
  endif()
  file(GLOB SRC CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  add_library(${name} STATIC ${SRC})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
  if(KSR_LIBRARY_PCH)
    # Each library's own, built with its own flags, so it always matches.
    set(headers ${KSR_PCH_CORE})
    if("Qt5::Widgets" IN_LIST L_LIBS)
      list(APPEND headers ${KSR_PCH_WIDGETS})
    endif()
    if("Qt5::Sql" IN_LIST L_LIBS)
      list(APPEND headers ${KSR_PCH_SQL})
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
  endif()
endfunction()
