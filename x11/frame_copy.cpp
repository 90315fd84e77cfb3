#include "x11/frame_copy.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZOVA_SSSE3 1
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "frames/frame_loop.h"
#include "raster/raster_image.h"
#include "scene/tunables.h"
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

uint32_t Rgb(uint32_t bgr) { return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF); }

// The scene's colours in the window's colormap, black first: a handful of read-only cells.
void AllocateColours(Display* display, Colormap colormap, PixelFormat* format) {
    const uint32_t wanted[] = {0, Rgb(NormalEvenColour), Rgb(NormalOddColour), Rgb(FlashEvenColour),
                               Rgb(FlashOddColour)};
    for (uint32_t rgb : wanted) {
        XColor colour = {};
        colour.red = static_cast<unsigned short>((rgb >> 16 & 0xFF) * 0x101);
        colour.green = static_cast<unsigned short>((rgb >> 8 & 0xFF) * 0x101);
        colour.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
        if (!XAllocColor(display, colormap, &colour)) {
            ++format->missingColours;
            continue;
        }
        format->colourRgb[format->colourCount] = rgb;
        format->colourPixel[format->colourCount++] = colour.pixel;
    }
}

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        sum += d * d;
    }
    return sum;
}

unsigned long NearestColour(const PixelFormat& format, uint32_t rgb) {
    // Without any cell of its own the picture stays black, at the screen's pixel 0.
    unsigned long pixel = 0;
    int best = 1 << 30;
    for (int i = 0; i < format.colourCount; ++i) {
        const int d = Distance(format.colourRgb[i], rgb);
        if (d < best) best = d, pixel = format.colourPixel[i];
    }
    return pixel;
}

#ifdef ZOVA_SSSE3
// x8r8g8b8 from the canvas's b, g, r bytes, four pixels per shuffle: the conversion is a quarter
// of what the hack costs, and most x86 processors since 2006 have the shuffle. Returns the pixels
// done; the loads stay within the `width` pixels of the row.
__attribute__((target("ssse3"))) int ExpandRowSsse3(const uint8_t* from, uint8_t* to, int width,
                                                    uint32_t opaque) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
    int x = 0;
    for (; x + 6 <= width; x += 4, from += 12, to += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                         _mm_or_si128(_mm_shuffle_epi8(bytes, spread), alpha));
    }
    return x;
}
#endif

void ConvertRows(const FrameCopy& copy, const RasterImage& canvas, int left, int top, int width,
                 int rows, XImage* part) {
    const PixelFormat& format = copy.format;
    const int bits = part->bits_per_pixel;
    const int bytes = bits / 8;
    const uint16_t probe = 1;
    const bool lowByteFirst = part->byte_order == LSBFirst;
    const bool littleEndian = *reinterpret_cast<const uint8_t*>(&probe) == 1;
    const bool plain = format.trueColour && bits == 32 && lowByteFirst && littleEndian &&
                       format.red.mask == 0xFF0000 && format.green.mask == 0xFF00 &&
                       format.blue.mask == 0xFF;
    const bool whole = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const uint32_t opaque = format.opaque;
#ifdef ZOVA_SSSE3
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
#endif
    // Canvases hold runs of one colour: the last conversion is the likeliest next one.
    uint32_t lastRgb = 0;
    unsigned long lastPixel = PixelOf(format, 0);
    uint8_t* to = reinterpret_cast<uint8_t*>(part->data);
    for (int y = 0; y < rows; ++y, to += part->bytes_per_line) {
        const uint8_t* from = canvas.RowPointer(top + y) + 3 * left;
        uint8_t* pixel = to;
        if (plain) {
            // Nearly every server: x8r8g8b8 words, little-endian like the hack. Four pixels
            // are three words of the canvas.
            int x = 0;
#ifdef ZOVA_SSSE3
            if (ssse3) {
                x = ExpandRowSsse3(from, pixel, width, opaque);
                from += 3 * x, pixel += 4 * x;
            }
#endif
            for (; x + 4 <= width; x += 4, from += 12, pixel += 16) {
                uint32_t w[3], p[4];
                std::memcpy(w, from, 12);
                p[0] = opaque | (w[0] & 0xFFFFFF);
                p[1] = opaque | w[0] >> 24 | (w[1] & 0xFFFF) << 8;
                p[2] = opaque | w[1] >> 16 | (w[2] & 0xFF) << 16;
                p[3] = opaque | w[2] >> 8;
                std::memcpy(pixel, p, 16);
            }
            for (; x < width; ++x, from += 3, pixel += 4) {
                const uint32_t value = opaque | from[2] << 16 | from[1] << 8 | from[0];
                std::memcpy(pixel, &value, 4);
            }
            continue;
        }
        for (int x = 0; x < width; ++x, from += 3, pixel += bytes) {
            const uint32_t rgb = uint32_t{from[2]} << 16 | from[1] << 8 | from[0];
            if (rgb != lastRgb) lastRgb = rgb, lastPixel = PixelOf(format, rgb);
            if (!whole) {
                // Pixels narrower than a byte: rare enough for Xlib's own packing.
                XPutPixel(part, x, y, lastPixel);
                continue;
            }
            for (int i = 0; i < bytes; ++i)
                pixel[lowByteFirst ? i : bytes - 1 - i] =
                    static_cast<uint8_t>(lastPixel >> (8 * i));
        }
    }
}

}  // namespace

unsigned long PixelOf(const PixelFormat& format, uint32_t rgb) {
    if (!format.trueColour) return NearestColour(format, rgb);
    return format.opaque | Channel(static_cast<uint8_t>(rgb >> 16), format.red) |
           Channel(static_cast<uint8_t>(rgb >> 8), format.green) |
           Channel(static_cast<uint8_t>(rgb), format.blue);
}

int CreateFrameCopy(Display* display, Visual* visual, int depth, Colormap colormap, int width,
                    bool tryShared, FrameCopy* copy) {
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
    const XImage* image = copy->image;
    PixelFormat& format = copy->format;
    format.trueColour = visual->c_class == TrueColor;
    if (format.trueColour) {
        format.red = PlaceOf(image->red_mask);
        format.green = PlaceOf(image->green_mask);
        format.blue = PlaceOf(image->blue_mask);
        const uint32_t colours =
            static_cast<uint32_t>(image->red_mask | image->green_mask | image->blue_mask);
        if (image->bits_per_pixel == 32) format.opaque = ~colours;
    } else {
        AllocateColours(display, colormap, &format);
    }
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

void CopyCanvasRect(FrameCopy* copy, const FrameCopyRect& rect, Drawable window, GC gc) {
    const RasterImage& canvas = *rect.canvas;
    const PixelRect& source = rect.source;
    const int left = std::max(source.left, 0), right = std::min(source.right, canvas.Width());
    const int top = std::max(source.top, 0), bottom = std::min(source.bottom, canvas.Height());
    if (right <= left || bottom <= top || canvas.Depth() != 24) return;
    const int destX = rect.destX + left - source.left, destY = rect.destY + top - source.top;
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
        ConvertRows(*copy, canvas, left, y, width, rows, &part);
        const int atY = destY + (y - top);
        if (copy->shared) {
            XShmPutImage(copy->display, window, gc, &part, 0, 0, destX, atY, width, rows, False);
            copy->used += bytes;
        } else {
            // Xlib has the pixels in its request buffer when this returns.
            XPutImage(copy->display, window, gc, &part, 0, 0, destX, atY, width, rows);
        }
    }
}
