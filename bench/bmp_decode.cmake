# The bitmap benchmark compares against SDL_LoadBMP and stb_image.
target_link_libraries(bench_bmp_decode PRIVATE PkgConfig::SDL2 stb)
