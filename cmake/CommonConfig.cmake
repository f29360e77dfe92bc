# Every target links tarvexio_options: one place for the standard, warnings and Qt guards.
add_library(tarvexio_options INTERFACE)

target_compile_features(tarvexio_options INTERFACE cxx_std_20)
target_compile_definitions(tarvexio_options INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(tarvexio_options INTERFACE -Wall -Wextra -Wpedantic)
    if(TARVEXIO_WERROR)
        target_compile_options(tarvexio_options INTERFACE -Werror)
    endif()
    if(TARVEXIO_SANITIZE)
        target_compile_options(tarvexio_options INTERFACE
            -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
        target_link_options(tarvexio_options INTERFACE -fsanitize=address,undefined)
    endif()
elseif(MSVC)
    target_compile_options(tarvexio_options INTERFACE /W4 /utf-8)
    if(TARVEXIO_WERROR)
        target_compile_options(tarvexio_options INTERFACE /WX)
    endif()
endif()

# A compiler cache where one is installed (scripts/setup installs ccache), so that a second
# build on the same machine compiles only what changed. With precompiled headers it needs to
# be told that their macros and time stamps are in order.
find_program(TARVEXIO_CCACHE ccache)
if(TARVEXIO_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${TARVEXIO_CCACHE})
endif()

# The headers nearly every file pulls in, parsed once per family of targets: the core's own,
# reused by the programs and tools on the core; the widgets' for the windowed programs; the
# test support's for the tests.
set(TARVEXIO_CORE_PCH
    <QByteArray> <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QList> <QObject>
    <QRegularExpression> <QScopeGuard> <QSqlDatabase> <QSqlQuery> <QString> <QStringList>
    <QTimer> <functional> <memory> <optional> <stdexcept> <vector>)
set(TARVEXIO_GUI_PCH ${TARVEXIO_CORE_PCH}
    <QApplication> <QDialog> <QLabel> <QLineEdit> <QMenu> <QMessageBox> <QPushButton>
    <QWidget>)
set(TARVEXIO_TEST_PCH ${TARVEXIO_CORE_PCH} <QProcess> <QTemporaryDir> <QTest>)
