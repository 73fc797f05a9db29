# One line per target: fuzz_target(NAME LIBS...).
