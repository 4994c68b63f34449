// SPDX-License-Identifier: GPL-3.0-or-later
// MJPEG decoding with libjpeg: warnings are sorted by their code as the decoder raises them, and the
// first one that means damaged data ends the decode at once.
#include "jpegdecoder.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace optigrab {

// Everything libjpeg keeps between calls. The error manager comes first so that the decoder's
// err pointer leads back to the whole state.
struct JpegDecoder::State {
    jpeg_error_mgr errors{};
    jpeg_decompress_struct decoder{};
    std::jmp_buf escape;
    bool damaged = false;   // a warning about corrupt picture data was raised
    bool harmless = false;  // stray bytes between segments were skipped
    bool headerRead = false;
    std::vector<JSAMPROW> rows;
    std::vector<std::uint8_t> lastRow;  // where the last row below a crop is read to
};

namespace {

// A fatal error: libjpeg cannot go on, so leave through the jump buffer set by the caller.
[[noreturn]] void onError(j_common_ptr common) {
    auto* state = reinterpret_cast<JpegDecoder::State*>(common->err);
    std::longjmp(state->escape, 1);
}

// Warnings (level -1) and trace messages (level >= 0). Stray bytes before a marker are common in
// camera MJPEG and leave the picture intact; every other warning means corrupt data, and decoding
// such a frame further would only produce garbage.
void onMessage(j_common_ptr common, int level) {
    if (level >= 0)
        return;
    auto* state = reinterpret_cast<JpegDecoder::State*>(common->err);
    if (common->err->msg_code == JWRN_EXTRANEOUS_DATA) {
        state->harmless = true;
        return;
    }
    state->damaged = true;
    std::longjmp(state->escape, 1);
}

void silent(j_common_ptr) {}

}  // namespace

JpegDecoder::JpegDecoder() : state_(new State) {
    jpeg_std_error(&state_->errors);
    state_->errors.error_exit = onError;
    state_->errors.emit_message = onMessage;
    state_->errors.output_message = silent;
    state_->decoder.err = &state_->errors;
    jpeg_create_decompress(&state_->decoder);
}

JpegDecoder::~JpegDecoder() {
    jpeg_destroy_decompress(&state_->decoder);
}

bool JpegDecoder::readHeader(const std::uint8_t* data, std::size_t size, long* width, long* height) {
    State& s = *state_;
    jpeg_abort_decompress(&s.decoder);  // a frame left half-way by a jump starts from scratch
    s.damaged = s.harmless = s.headerRead = false;
    if (setjmp(s.escape))
        return false;
    jpeg_mem_src(&s.decoder, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&s.decoder, TRUE) != JPEG_HEADER_OK)
        return false;
    *width = s.decoder.image_width;
    *height = s.decoder.image_height;
    s.headerRead = true;
    return true;
}

JpegDecoder::Outcome JpegDecoder::decodeImage(int scaleDenominator, bool fast, const Crop& crop,
                                              std::vector<std::uint8_t>& out, long* width, long* height) {
    State& s = *state_;
    if (!s.headerRead)
        return Outcome::Failed;
    if (setjmp(s.escape)) {
        jpeg_abort_decompress(&s.decoder);
        return s.damaged ? Outcome::Damaged : Outcome::Failed;
    }
    jpeg_decompress_struct& d = s.decoder;
    d.out_color_space = JCS_RGB;
    d.scale_num = 1;
    d.scale_denom = static_cast<unsigned>(scaleDenominator);
    d.dct_method = fast ? JDCT_IFAST : JDCT_ISLOW;
    d.do_fancy_upsampling = fast ? FALSE : TRUE;
    jpeg_start_decompress(&d);
    // The crop, within the picture; libjpeg widens the columns to whole blocks, which are cut off
    // again row by row below.
    const JDIMENSION top = crop.width > 0 ? JDIMENSION(std::min<long>(crop.y, d.output_height - 1)) : 0;
    const JDIMENSION rows = crop.width > 0
                                ? JDIMENSION(std::min<long>(crop.height, long(d.output_height) - top))
                                : d.output_height;
    const JDIMENSION left = crop.width > 0 ? JDIMENSION(std::min<long>(crop.x, d.output_width - 1)) : 0;
    const JDIMENSION columns =
        crop.width > 0 ? JDIMENSION(std::min<long>(crop.width, long(d.output_width) - left)) : d.output_width;
    JDIMENSION blockLeft = left, blockColumns = columns;
    if (blockLeft != 0 || blockColumns != d.output_width)
        jpeg_crop_scanline(&d, &blockLeft, &blockColumns);
    // Rows are skipped and read in whole rows of blocks: skipping from within one miscounts the rows
    // of subsampled chroma, which then reads as damaged data.
    const JDIMENSION blockRows = JDIMENSION(d.max_v_samp_factor * d.min_DCT_scaled_size);
    const JDIMENSION firstRow = top / blockRows * blockRows;
    const JDIMENSION endRow = std::min(d.output_height, (top + rows + blockRows - 1) / blockRows * blockRows);
    const JDIMENSION readRows = endRow - firstRow;
    const std::size_t stride = std::size_t(d.output_width) * 3;  // the widened columns
    const std::size_t bytes = stride * readRows;
    if (out.size() < bytes)
        out.resize(bytes);
    if (s.rows.size() < readRows)
        s.rows.resize(readRows);
    for (JDIMENSION y = 0; y < readRows; ++y)
        s.rows[y] = out.data() + stride * y;
    if (firstRow > 0)
        jpeg_skip_scanlines(&d, firstRow);
    JDIMENSION read = 0;
    while (read < readRows)
        read += jpeg_read_scanlines(&d, s.rows.data() + read, readRows - read);
    // Skipping to the end would skip the entropy decoding too, and with it the check for damage:
    // all but the last row of blocks are skipped, that one is read.
    const JDIMENSION lastBlockRow = (d.output_height - 1) / blockRows * blockRows;
    if (d.output_scanline < lastBlockRow)
        jpeg_skip_scanlines(&d, lastBlockRow - d.output_scanline);
    if (d.output_scanline < d.output_height) {
        s.lastRow.resize(stride);
        JSAMPROW last = s.lastRow.data();
        while (d.output_scanline < d.output_height)
            jpeg_read_scanlines(&d, &last, 1);
    }
    // Reads on to the end of the image, where cameras most often leave stray bytes.
    jpeg_finish_decompress(&d);
    const std::size_t shift = std::size_t(top - firstRow) * stride + std::size_t(left - blockLeft) * 3;
    const std::size_t packed = std::size_t(columns) * 3;
    if (shift != 0 || packed != stride) {
        for (JDIMENSION y = 0; y < rows; ++y)
            std::memmove(out.data() + packed * y, out.data() + stride * y + shift, packed);
    }
    *width = columns;
    *height = rows;
    return s.harmless ? Outcome::Harmless : Outcome::Clean;
}

}  // namespace optigrab
