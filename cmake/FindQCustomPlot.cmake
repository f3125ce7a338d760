# QCustomPlot::QCustomPlot, from the package's own CMake files where it has
# them (Debian's libqcustomplot-dev), else from its header and library found
# under CMAKE_PREFIX_PATH: upstream QCustomPlot ships no CMake files, and
# vcpkg, MSYS2 or a hand-built copy on Windows need none. No pkg-config.
find_package(QCustomPlot CONFIG QUIET)
if(TARGET QCustomPlot::QCustomPlot)
  set(QCustomPlot_FOUND TRUE)
  return()
endif()

find_path(QCustomPlot_INCLUDE_DIR qcustomplot.h PATH_SUFFIXES qcustomplot)
find_library(QCustomPlot_LIBRARY
  NAMES QCustomPlot qcustomplot qcustomplot2 QCustomPlotd qcustomplotd qcustomplotd2)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QCustomPlot REQUIRED_VARS QCustomPlot_LIBRARY QCustomPlot_INCLUDE_DIR)
if(QCustomPlot_FOUND)
  add_library(QCustomPlot::QCustomPlot UNKNOWN IMPORTED)
  # A shared QCustomPlot exports its classes only to users that say so.
  set_target_properties(QCustomPlot::QCustomPlot PROPERTIES
    IMPORTED_LOCATION "${QCustomPlot_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QCustomPlot_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS QCUSTOMPLOT_USE_LIBRARY
    INTERFACE_LINK_LIBRARIES "Qt5::Widgets;Qt5::PrintSupport")
endif()
mark_as_advanced(QCustomPlot_INCLUDE_DIR QCustomPlot_LIBRARY)
