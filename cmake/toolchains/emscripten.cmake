# Compiles for the web browser with Debian's Emscripten: WebAssembly and the JavaScript that
# loads it.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten's JavaScript tools find their modules (acorn, terser) only through NODE_PATH,
# which a node of another vendor does not set.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)

# The shell's error boundary catches C++ exceptions, which Emscripten leaves out unless asked.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
