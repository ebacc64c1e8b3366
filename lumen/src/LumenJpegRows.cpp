#include "LumenJpegRows.h"

#include <jerror.h>

namespace LumenJpeg {

namespace {

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *error = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (a frame cut short, corrupt data that still gives a picture)
// are not errors: the picture is shown as far as it goes.
void quiet(j_common_ptr) {}

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    while (source->next < source->count) {
        const Source::Piece &piece = source->pieces[source->next++];
        if (piece.size == 0)
            continue;
        source->pub.next_input_byte = piece.data;
        source->pub.bytes_in_buffer = piece.size;
        return TRUE;
    }
    // A frame cut short: end it, as libjpeg's own memory source does.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEndOfImage;
    source->pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    auto bytes = size_t(count);
    while (bytes > source->pub.bytes_in_buffer) {
        bytes -= source->pub.bytes_in_buffer;
        const bool last = source->next >= source->count;
        fillInput(cinfo);
        if (last)
            return; // only the end marker is left
    }
    source->pub.next_input_byte += bytes;
    source->pub.bytes_in_buffer -= bytes;
}

boolean resyncToRestart(j_decompress_ptr cinfo, int desired)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    if (source->restartOffset != 0 &&
        cinfo->unread_marker == JPEG_RST0 + ((desired + source->restartOffset) & 7)) {
        cinfo->unread_marker = 0;
        return TRUE;
    }
    return jpeg_resync_to_restart(cinfo, desired);
}

void termSource(j_decompress_ptr) {}

void useRawData(jpeg_decompress_struct &c)
{
    c.raw_data_out = TRUE;
    c.do_fancy_upsampling = FALSE;
    c.dct_method = JDCT_IFAST;
}

void readRows(jpeg_decompress_struct &c, const Target &t, int rows)
{
    useRawData(c);
    jpeg_start_decompress(&c);
    const int step = c.max_v_samp_factor * DCTSIZE;
    JSAMPROW pointers[3][kMaxSampling * DCTSIZE];
    JSAMPARRAY arrays[3];
    for (int row = 0; row < rows && c.output_scanline < c.output_height; row += step) {
        rowPointers(c, t, row / step, pointers, arrays);
        if (jpeg_read_raw_data(&c, arrays, JDIMENSION(step)) == 0)
            break;
        if (t.rows)
            t.rows->advance(row + step);
    }
}

} // namespace

Decompressor::Decompressor()
{
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = errorExit;
    error.pub.output_message = quiet;
    if (setjmp(error.jump))
        return;
    jpeg_create_decompress(&cinfo);
    source.pub.init_source = initSource;
    source.pub.fill_input_buffer = fillInput;
    source.pub.skip_input_data = skipInput;
    source.pub.resync_to_restart = resyncToRestart;
    source.pub.term_source = termSource;
    cinfo.src = &source.pub;
    created = true;
}

Decompressor::~Decompressor()
{
    if (created)
        jpeg_destroy_decompress(&cinfo);
}

void Decompressor::setSource(std::initializer_list<Source::Piece> pieces, int restartOffset)
{
    source.count = 0;
    for (const Source::Piece &piece : pieces)
        source.pieces[source.count++] = piece;
    source.next = 0;
    source.restartOffset = restartOffset;
    source.pub.next_input_byte = nullptr;
    source.pub.bytes_in_buffer = 0;
}

bool planarLayout(const jpeg_decompress_struct &c, Layout &l)
{
    if (c.data_precision != 8)
        return false;
    if (c.num_components == 1) {
        if (c.jpeg_color_space != JCS_GRAYSCALE)
            return false;
    } else if (c.num_components == 3) {
        if (c.jpeg_color_space != JCS_YCbCr)
            return false;
        for (int i = 1; i < 3; ++i)
            if (c.comp_info[i].h_samp_factor != 1 || c.comp_info[i].v_samp_factor != 1)
                return false;
    } else {
        return false;
    }
    l.components = c.num_components;
    l.maxH = c.max_h_samp_factor;
    l.maxV = c.max_v_samp_factor;
    if (l.maxH > kMaxSampling || l.maxV > kMaxSampling)
        return false;
    const int mcuWidth = DCTSIZE * l.maxH, mcuHeight = DCTSIZE * l.maxV;
    l.mcusPerRow = int((c.image_width + JDIMENSION(mcuWidth) - 1) / JDIMENSION(mcuWidth));
    l.mcuRows = int((c.image_height + JDIMENSION(mcuHeight) - 1) / JDIMENSION(mcuHeight));
    for (int i = 0; i < l.components; ++i) {
        l.h[i] = c.comp_info[i].h_samp_factor;
        l.v[i] = c.comp_info[i].v_samp_factor;
        l.stride[i] = l.mcusPerRow * l.h[i] * DCTSIZE;
        l.rows[i] = l.mcuRows * l.v[i] * DCTSIZE;
        l.offset[i] = l.bytes;
        l.bytes += qsizetype(l.stride[i]) * l.rows[i];
    }
    return true;
}

// Nothing with a destructor lives in a frame setjmp guards.
bool readJpegHeader(Decompressor &d)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    jpeg_read_header(&d.cinfo, TRUE); // a frame without a picture is an error
    return true;
}

void rowPointers(const jpeg_decompress_struct &c, const Target &t, int mcuRow,
                 JSAMPROW (&pointers)[3][kMaxSampling * DCTSIZE], JSAMPARRAY (&arrays)[3])
{
    for (int i = 0; i < c.num_components; ++i) {
        const int v = c.comp_info[i].v_samp_factor;
        const int first = mcuRow * v * DCTSIZE;
        for (int j = 0; j < v * DCTSIZE; ++j)
            pointers[i][j] = t.plane[i] + qsizetype(first + j) * t.stride[i];
        arrays[i] = pointers[i];
    }
}

bool startRaw(Decompressor &d)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    useRawData(d.cinfo);
    jpeg_start_decompress(&d.cinfo);
    return true;
}

bool readMcuRow(Decompressor &d, JSAMPARRAY (&arrays)[3])
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    jpeg_read_raw_data(&d.cinfo, arrays, JDIMENSION(d.cinfo.max_v_samp_factor * DCTSIZE));
    return true;
}

bool decodeRows(Decompressor &d, const Target &t, int rows)
{
    if (setjmp(d.error.jump)) {
        jpeg_abort_decompress(&d.cinfo);
        return false;
    }
    readRows(d.cinfo, t, rows);
    jpeg_abort_decompress(&d.cinfo);
    return true;
}

qsizetype frameSizeField(const uchar *data, qsizetype codedStart)
{
    qsizetype pos = 2, field = -1;
    while (pos + 4 <= codedStart) {
        if (data[pos] != 0xFF)
            return -1;
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA)
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            field = pos + 5;
        pos += 2 + ((data[pos + 2] << 8) | data[pos + 3]);
    }
    return field >= 0 && field + 4 <= codedStart ? field : -1;
}

} // namespace LumenJpeg
