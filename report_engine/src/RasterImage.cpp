#include "report_engine/RasterImage.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace medrec::engine {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warnings;
    char lastWarning[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

extern "C" void onJpegMessage(j_common_ptr cinfo, int level)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0) { // a warning: corrupt or truncated data that libjpeg papers over
        if (err->warnings++ == 0)
            (*cinfo->err->format_message)(cinfo, err->lastWarning);
    }
}

// Why a decode failed, as plain characters.
using ErrorText = char[JMSG_LENGTH_MAX + 64];

// Plain-data decoding between setjmp and longjmp: no object with a destructor is created or
// changed in here after setjmp, so a jump out of libjpeg skips nothing; the reason of a failure
// goes into the caller's character buffer. `scratch` belongs to the caller for the same reason.
bool decodeInto(const std::uint8_t* data, std::size_t size, RasterImage* out, std::vector<std::uint8_t>* scratch,
                ErrorText& error)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onJpegError;
    err.pub.emit_message = onJpegMessage;
    err.warnings = 0;
    err.lastWarning[0] = '\0';
    if (setjmp(err.jump)) {
        (*cinfo.err->format_message)(reinterpret_cast<j_common_ptr>(&cinfo), error);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    // The header's size is the file's claim: refuse a huge one before anything is allocated.
    if (std::uint64_t(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels) {
        std::snprintf(error, sizeof error, "the picture claims %u x %u pixels, more than the %llu a form picture may have",
                      unsigned(cinfo.image_width), unsigned(cinfo.image_height),
                      static_cast<unsigned long long>(kMaxJpegPixels));
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else if (cinfo.jpeg_color_space == JCS_GRAYSCALE)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else
        cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);

    const int inChannels = cinfo.output_components;
    out->width = int(cinfo.output_width);
    out->height = int(cinfo.output_height);
    out->channels = cmyk ? 3 : inChannels;
    if (cinfo.density_unit == 1) {
        out->dpiX = cinfo.X_density;
        out->dpiY = cinfo.Y_density;
    } else if (cinfo.density_unit == 2) {
        out->dpiX = cinfo.X_density * 2.54;
        out->dpiY = cinfo.Y_density * 2.54;
    }
    const std::size_t rowBytes = std::size_t(out->width) * std::size_t(out->channels);
    out->pixels.resize(rowBytes * std::size_t(out->height));
    std::uint8_t* cmykRow = nullptr;
    if (cmyk) {
        scratch->resize(std::size_t(out->width) * 4);
        cmykRow = scratch->data();
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* row = out->pixels.data() + rowBytes * cinfo.output_scanline;
        JSAMPROW target = cmyk ? cmykRow : row;
        jpeg_read_scanlines(&cinfo, &target, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted; others plain.
            const bool inverted = cinfo.saw_Adobe_marker;
            for (int x = 0; x < out->width; ++x) {
                int c = cmykRow[x * 4], m = cmykRow[x * 4 + 1], y = cmykRow[x * 4 + 2], k = cmykRow[x * 4 + 3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                row[x * 3] = std::uint8_t(c * k / 255);
                row[x * 3 + 1] = std::uint8_t(m * k / 255);
                row[x * 3 + 2] = std::uint8_t(y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (err.warnings > 0) {
        std::snprintf(error, sizeof error, "damaged data (%s)", err.lastWarning);
        return false;
    }
    return true;
}

} // namespace

JpegResult decodeJpeg(std::span<const std::uint8_t> bytes)
{
    JpegResult result;
    if (bytes.empty()) {
        result.error = "empty file";
        return result;
    }
    auto image = std::make_shared<RasterImage>();
    std::vector<std::uint8_t> scratch;
    ErrorText error = "";
    if (!decodeInto(bytes.data(), bytes.size(), image.get(), &scratch, error)) {
        result.error = error;
        return result;
    }
    result.image = std::move(image);
    return result;
}

JpegResult decodeJpegFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        JpegResult r;
        r.error = "cannot open " + file.string();
        return r;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeJpeg(bytes);
}

std::shared_ptr<const RasterImage> ImageStore::get(const std::string& name, const std::filesystem::path& resolved)
{
    const std::string key = resolved.empty() ? "name:" + name : resolved.string();
    if (auto it = m_images.find(key); it != m_images.end())
        return it->second;
    std::shared_ptr<const RasterImage> image;
    std::string why;
    if (resolved.empty()) {
        why = "file not found";
    } else {
        JpegResult r = decodeJpegFile(resolved);
        image = r.image;
        why = r.error;
    }
    if (!image && m_log)
        m_log("picture \"" + name + "\" (" + (resolved.empty() ? name : resolved.string()) +
              ") cannot be read: " + why + "; the pages print without it");
    m_images.emplace(key, image);
    return image;
}

} // namespace medrec::engine
