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
