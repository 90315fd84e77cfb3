#include "tools/png_file.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string TemporaryName(const std::string& path) {
    return path + ".tmp." + std::to_string(static_cast<long>(getpid()));
}

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " '" + path + "': " + std::strerror(errno);
}

}  // namespace

bool WritePngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height,
                  std::string* error) {
    const std::string temporary = TemporaryName(path);
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        *error = SystemError("cannot create", temporary);
        return false;
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const int encoded = png_image_write_to_stdio(&image, file, 0, rgb, width * 3, nullptr);
    const std::string pngMessage = image.message;
    png_image_free(&image);

    bool ok = encoded != 0;
    if (!ok) *error = "cannot encode '" + path + "': " + pngMessage;
    // Data still buffered may fail to reach the disk only now (a full disk, say).
    if (ok && (std::fflush(file) != 0 || std::ferror(file) != 0)) {
        *error = SystemError("cannot write", temporary);
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        *error = SystemError("cannot write", temporary);
        ok = false;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = SystemError("cannot rename to", path);
        ok = false;
    }
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

bool CanCreateFilesIn(const std::string& folder, std::string* error) {
    const std::string probe = TemporaryName(folder + "/.zova-render-probe");
    FILE* file = std::fopen(probe.c_str(), "wb");
    if (file == nullptr) {
        *error = SystemError("cannot write into folder", folder);
        return false;
    }
    std::fclose(file);
    std::remove(probe.c_str());
    return true;
}
