# One line per test: gl_test(NAME ...).
gl_test(test_video vxe_video)
gl_test(test_bitmap_draw vxe_video)
gl_test(test_font vxe_video)
