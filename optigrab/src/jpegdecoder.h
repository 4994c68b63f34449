// SPDX-License-Identifier: GPL-3.0-or-later
// MJPEG frame decoding through libjpeg with an error manager of our own, so that a warning the frame
// can live with is told apart from one that means damaged picture data. One instance per thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace optigrab {

class JpegDecoder {
public:
    // Rows and columns of the scaled picture to decode (a crop); width 0 = the whole picture.
    struct Crop {
        long x = 0, y = 0, width = 0, height = 0;
    };

    enum class Outcome {
        Clean,     // decoded without a word from the decoder
        Harmless,  // decoded; the decoder only skipped stray bytes between segments
        Damaged,   // the picture data is corrupt: what was decoded shows garbage
        Failed     // not a JPEG the decoder can read
    };

    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Decodes to RGB888 at 1/scaleDenominator of the full size (1, 2, 4 or 8), choosing the
    // denominator after the header is read: chooseDenominator gets the full size (and may answer 0:
    // not this frame, else it may set the crop, in scaled pixels, that is decoded alone). fast = the
    // fast inverse DCT and chroma upsampling. out grows when too small and is never shrunk. The rows
    // below a crop are still read, so that damage anywhere in the frame is found.
    template <typename Chooser>
    Outcome decode(const std::uint8_t* data, std::size_t size, bool fast, Chooser chooseDenominator,
                   std::vector<std::uint8_t>& out, long* width, long* height) {
        long fullWidth = 0, fullHeight = 0;
        if (!readHeader(data, size, &fullWidth, &fullHeight))
            return Outcome::Failed;
        Crop crop;
        const int denominator = chooseDenominator(fullWidth, fullHeight, &crop);
        if (denominator == 0)
            return Outcome::Failed;
        return decodeImage(denominator, fast, crop, out, width, height);
    }

    struct State;  // libjpeg's decoder and our error manager (defined with the code)

private:
    bool readHeader(const std::uint8_t* data, std::size_t size, long* width, long* height);
    Outcome decodeImage(int scaleDenominator, bool fast, const Crop& crop, std::vector<std::uint8_t>& out,
                        long* width, long* height);

    std::unique_ptr<State> state_;
};

}  // namespace optigrab
