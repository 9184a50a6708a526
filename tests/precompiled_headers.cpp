// The translation unit that compiles the tests' shared headers once (see tests/CMakeLists.txt).
