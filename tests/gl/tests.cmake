# One line per test: gl_test(NAME ...).
gl_test(test_video vxe_video)
