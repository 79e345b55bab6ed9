// Converts a PNG picture of the asset build into a baseline JPEG: png_to_jpeg in.png out.jpg
// [quality] Transparent pixels are laid over the picture's own dark background colour, never over
// pure black, which the game treats as see-through.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb; // 3 bytes per pixel, rows top to bottom
};

bool ReadPng(const char* path, RgbImage& out, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        error = image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.assign(PNG_IMAGE_SIZE(image), 0);
    // Alpha is composed over a dark blue, the background of every full-screen picture.
    png_color background{20, 33, 61};
    if (!png_image_finish_read(&image, &background, out.rgb.data(), 0, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

bool WriteJpeg(const char* path, const RgbImage& image, int quality) {
    FilePtr file(std::fopen(path, "wb"));
    if (!file)
        return false;
    jpeg_compress_struct info{};
    JpegErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour keeps coloured lettering crisp.
    info.comp_info[0].h_samp_factor = 1;
    info.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    const auto stride = static_cast<size_t>(image.width) * 3;
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(image.rgb.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fflush(file.get()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: png_to_jpeg in.png out.jpg [quality]\n");
        return 2;
    }
    const int quality = argc == 4 ? std::atoi(argv[3]) : 92;
    if (quality < 1 || quality > 100) {
        std::fprintf(stderr, "png_to_jpeg: quality must be 1 to 100\n");
        return 2;
    }
    RgbImage image;
    std::string error;
    if (!ReadPng(argv[1], image, error)) {
        std::fprintf(stderr, "png_to_jpeg: cannot read %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    if (!WriteJpeg(argv[2], image, quality)) {
        std::fprintf(stderr, "png_to_jpeg: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
