# One line per test: gl_test(NAME ...).
gl_test(test_video vxe_video)
gl_test(test_bitmap_draw vxe_video)
gl_test(test_font vxe_video)
gl_test(test_gridview DAT floxa_app)
gl_test(test_crt DAT floxa_app)
