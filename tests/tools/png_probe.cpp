// Test helper: decodes a PNG and prints its size and how many pixels have each of the scene's
// colours, as "WIDTH HEIGHT black=N white=N red=N flash=N other=N". Exit 1 when it cannot be read.

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: png_probe FILE\n");
        return 2;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, argv[1]) == 0) {
        std::fprintf(stderr, "png_probe: %s: %s\n", argv[1], image.message);
        return 1;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        std::fprintf(stderr, "png_probe: %s: %s\n", argv[1], image.message);
        png_image_free(&image);
        return 1;
    }
    long black = 0, white = 0, red = 0, flash = 0, other = 0;
    for (size_t k = 0; k + 2 < pixels.size(); k += 3) {
        const int r = pixels[k], g = pixels[k + 1], b = pixels[k + 2];
        if (r == 0 && g == 0 && b == 0) {
            ++black;
        } else if (r == 255 && g == 255 && b == 255) {
            ++white;
        } else if (r == 240 && g == 0 && b == 0) {
            ++red;
        } else if ((r == 255 && g == 200 && b == 200) || (r == 240 && g == 100 && b == 100)) {
            ++flash;
        } else {
            ++other;
        }
    }
    std::printf("%u %u black=%ld white=%ld red=%ld flash=%ld other=%ld\n", image.width,
                image.height, black, white, red, flash, other);
    return 0;
}
