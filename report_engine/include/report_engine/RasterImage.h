#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Decoded pictures as plain pixel buffers, and the per-run store that decodes each file once.

namespace medrec::engine {

struct RasterImage {
    int width = 0;
    int height = 0;
    int channels = 3;  // 1 grey or 3 RGB, 8 bits each, rows packed without padding
    double dpiX = 0;   // the file's density; 0 when it does not say
    double dpiY = 0;
    std::vector<std::uint8_t> pixels;
};

struct JpegResult {
    std::shared_ptr<const RasterImage> image; // null on failure
    std::string error;                        // why it failed, in words
};

// The most pixels a picture may have: a full A3 page at 600 dpi is about 70 million.
inline constexpr std::uint64_t kMaxJpegPixels = 100'000'000;

// Decodes a JPEG with libjpeg. A file that libjpeg reads only with warnings (truncated or
// corrupt data) counts as damaged: it fails rather than printing a half-grey picture. A header
// claiming more than kMaxJpegPixels fails before any pixel memory is allocated.
JpegResult decodeJpeg(std::span<const std::uint8_t> bytes);
JpegResult decodeJpegFile(const std::filesystem::path& file);

// Decodes each picture file once and remembers failures, so a damaged file is reported once
// (through the log given) however many pages show it. Not thread-safe; one per run or per print.
class ImageStore {
public:
    using Log = std::function<void(const std::string&)>;
    explicit ImageStore(Log log) : m_log(std::move(log)) {}

    // The decoded picture, or null when it cannot be had; `name` is how the form names it.
    std::shared_ptr<const RasterImage> get(const std::string& name, const std::filesystem::path& resolved);

private:
    Log m_log;
    std::map<std::string, std::shared_ptr<const RasterImage>> m_images;
};

} // namespace medrec::engine
