# One line per test: gl_test(NAME ...).
