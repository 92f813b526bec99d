# WebAssembly with Debian's Emscripten: its own toolchain file, plus exceptions, which the
# decoder needs (a thread that cannot start is reported by one; in WebAssembly none can).
# Tests and tools run under Node; from Node 18 on, the generated loader would fetch the .wasm by
# its path, which fails, so fetch is turned off and the file is read.
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_C_FLAGS_INIT "-fexceptions")
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
# The console tools reach the files of the machine Node runs on.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -sDISABLE_EXCEPTION_CATCHING=0 -sNODERAWFS=1 \
-sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1")
# The code is optimised when compiled; linking at -O3 as well runs wasm-opt over every executable
# for little gain. The console tools and test programs only check the core here, so they link at
# -O1; ravelin-core.js, the delivery, links fully optimised (wasm/CMakeLists.txt).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-O1")
