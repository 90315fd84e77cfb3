#include "x11/frame_copy.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "raster/raster_image.h"
#include "scene/changed_area.h"
#include "x11/hack_window.h"

namespace {

// Enough for every rectangle of a busy tick, so the server is waited for only now and then.
constexpr size_t StagingBytes = size_t{1} << 20;

// Lines the top of the canvas's 8-bit channel up with the top of the mask.
ChannelPlace PlaceOf(unsigned long mask) {
    int top = 0;
    while (top < 32 && (mask >> top) != 0) ++top;
    ChannelPlace place;
    place.up = std::max(top - 8, 0);
    place.down = std::max(8 - top, 0);
    place.mask = static_cast<uint32_t>(mask);
    return place;
}

inline uint32_t Channel(uint8_t value, const ChannelPlace& place) {
    return ((uint32_t{value} << place.up) >> place.down) & place.mask;
}

// Rows padded as the server pads them: it works out where each row starts itself.
size_t StrideOf(const XImage* image, int width) {
    const size_t pad = std::max(image->bitmap_pad, 8);
    return (static_cast<size_t>(width) * image->bits_per_pixel + pad - 1) / pad * (pad / 8);
}

bool AttachShared(Display* display, Visual* visual, int depth, FrameCopy* copy) {
    if (!XShmQueryExtension(display)) return false;
    XShmSegmentInfo& segment = copy->segment;
    XImage* image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &segment, 1, 1);
    if (image == nullptr) return false;
    segment.shmid = shmget(IPC_PRIVATE, copy->capacity, IPC_CREAT | 0600);
    void* memory =
        segment.shmid < 0 ? reinterpret_cast<void*>(-1) : shmat(segment.shmid, nullptr, 0);
    bool attached = false;
    if (memory != reinterpret_cast<void*>(-1)) {
        segment.shmaddr = image->data = static_cast<char*>(memory);
        segment.readOnly = True;
        // A server on another machine refuses the segment: then the pixels go over the wire.
        TrapXErrors();
        const Status asked = XShmAttach(display, &segment);
        attached = UntrapXErrors(display) == 0 && asked;
        if (!attached) shmdt(memory);
    }
    // The segment goes with the last detach, however the hack ends.
    if (segment.shmid >= 0) shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        image->data = nullptr;
        XDestroyImage(image);
        return false;
    }
    copy->image = image;
    return true;
}

void ConvertRows(const FrameCopy& copy, const RasterImage& canvas, int left, int top, int width,
                 int rows, uint8_t* to, size_t stride) {
    const int bytes = copy.image->bits_per_pixel / 8;
    const uint16_t probe = 1;
    const bool lowByteFirst = copy.image->byte_order == LSBFirst;
    const bool littleEndian = *reinterpret_cast<const uint8_t*>(&probe) == 1;
    const bool plain = bytes == 4 && lowByteFirst && littleEndian && copy.red.mask == 0xFF0000 &&
                       copy.green.mask == 0xFF00 && copy.blue.mask == 0xFF;
    const ChannelPlace red = copy.red, green = copy.green, blue = copy.blue;
    for (int y = top; y < top + rows; ++y, to += stride) {
        const uint8_t* from = canvas.RowPointer(y) + 3 * left;
        uint8_t* pixel = to;
        if (plain) {
            // Nearly every server: x8r8g8b8 words, little-endian like the hack. Four pixels
            // are three words of the canvas.
            int x = 0;
            for (; x + 4 <= width; x += 4, from += 12, pixel += 16) {
                uint32_t w[3], p[4];
                std::memcpy(w, from, 12);
                p[0] = copy.opaque | (w[0] & 0xFFFFFF);
                p[1] = copy.opaque | w[0] >> 24 | (w[1] & 0xFFFF) << 8;
                p[2] = copy.opaque | w[1] >> 16 | (w[2] & 0xFF) << 16;
                p[3] = copy.opaque | w[2] >> 8;
                std::memcpy(pixel, p, 16);
            }
            for (; x < width; ++x, from += 3, pixel += 4) {
                const uint32_t value = copy.opaque | from[2] << 16 | from[1] << 8 | from[0];
                std::memcpy(pixel, &value, 4);
            }
            continue;
        }
        for (int x = 0; x < width; ++x, from += 3, pixel += bytes) {
            const uint32_t value = copy.opaque | Channel(from[2], red) | Channel(from[1], green) |
                                   Channel(from[0], blue);
            for (int i = 0; i < bytes; ++i)
                pixel[lowByteFirst ? i : bytes - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
        }
    }
}

}  // namespace

int CreateFrameCopy(Display* display, Visual* visual, int depth, int width, bool tryShared,
                    FrameCopy* copy) {
    *copy = FrameCopy{};
    copy->display = display;
    // At least one row of the widest rectangle, whatever the pixel size.
    copy->capacity = std::max(StagingBytes, static_cast<size_t>(width) * 4);
    copy->shared = tryShared && AttachShared(display, visual, depth, copy);
    if (!copy->shared) {
        XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, 1, 1, 32, 0);
        if (image == nullptr) return 0;
        copy->image = image;
        image->data = static_cast<char*>(std::malloc(copy->capacity));
        if (image->data == nullptr) {
            DestroyFrameCopy(copy);
            return 0;
        }
    }
    XImage* image = copy->image;
    if (image->bits_per_pixel != 24 && image->bits_per_pixel != 32) {
        DestroyFrameCopy(copy);
        return 0;
    }
    copy->red = PlaceOf(image->red_mask);
    copy->green = PlaceOf(image->green_mask);
    copy->blue = PlaceOf(image->blue_mask);
    if (image->bits_per_pixel == 32)
        copy->opaque =
            ~static_cast<uint32_t>(image->red_mask | image->green_mask | image->blue_mask);
    return 1;
}

void DestroyFrameCopy(FrameCopy* copy) {
    if (copy->image == nullptr) return;
    if (copy->shared) {
        XShmDetach(copy->display, &copy->segment);
        XSync(copy->display, False);
        shmdt(copy->segment.shmaddr);
        copy->image->data = nullptr;
    }
    XDestroyImage(copy->image);
    *copy = FrameCopy{};
}

void CopyCanvasRect(FrameCopy* copy, const RasterImage& canvas, Drawable window, GC gc,
                    const PixelRect& rect) {
    const int left = std::max(rect.left, 0), right = std::min(rect.right, canvas.Width());
    const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, canvas.Height());
    if (right <= left || bottom <= top || canvas.Depth() != 24) return;
    const int width = right - left;
    const size_t stride = StrideOf(copy->image, width);
    const int bandRows = static_cast<int>(std::min<size_t>(copy->capacity / stride, bottom - top));
    for (int y = top; y < bottom; y += bandRows) {
        const int rows = std::min(bandRows, bottom - y);
        const size_t bytes = stride * rows;
        if (copy->used + bytes > copy->capacity) {
            // Start the area again once the server has read what lies there.
            if (copy->shared) XSync(copy->display, False);
            copy->used = 0;
        }
        XImage part = *copy->image;
        part.width = width;
        part.height = rows;
        part.bytes_per_line = static_cast<int>(stride);
        part.data = copy->image->data + copy->used;
        ConvertRows(*copy, canvas, left, y, width, rows, reinterpret_cast<uint8_t*>(part.data),
                    stride);
        if (copy->shared) {
            XShmPutImage(copy->display, window, gc, &part, 0, 0, left, y, width, rows, False);
            copy->used += bytes;
        } else {
            // Xlib has the pixels in its request buffer when this returns.
            XPutImage(copy->display, window, gc, &part, 0, 0, left, y, width, rows);
        }
    }
}
