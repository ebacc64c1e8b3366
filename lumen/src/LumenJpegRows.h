#pragma once
// libjpeg as the MJPEG decoder uses it: frames read in place from pieces of
// memory, errors caught at each step, YCbCr planes decoded row by row
// straight into memory padded to whole MCUs.
#include "LumenFrame.h"

#include <QString>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <initializer_list>

#include <jpeglib.h>

namespace LumenJpeg {

// Sampling factors the planar path takes (4:4:4, 4:2:2, 4:2:0, 4:4:0).
constexpr int kMaxSampling = 2;

// libjpeg reports an error by calling error_exit, which must not return:
// it jumps back to the setjmp of the step in progress.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// The bytes libjpeg reads: a few pieces of memory one after another. A
// part of a split frame is the header with its size patched, then the
// coded data from where the part starts, all read in place.
struct Source
{
    struct Piece
    {
        const JOCTET *data;
        size_t size;
    };
    jpeg_source_mgr pub;
    Piece pieces[4];
    int count = 0;
    int next = 0;
    // The lower part starts after restart marker n: its markers count on
    // from n, not from 0.
    int restartOffset = 0;
};

// A decompressor with that source and error handling, kept from frame to
// frame.
struct Decompressor
{
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    Source source{};
    bool created = false;

    Decompressor();
    ~Decompressor();
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    // The pieces are read in place: they must outlive the decoding.
    void setSource(std::initializer_list<Source::Piece> pieces, int restartOffset);
    QString message() const { return QString::fromLocal8Bit(error.message); }
};

// Where the planes go: one buffer, each plane padded to whole MCUs so that
// libjpeg writes its rows in place.
struct Layout
{
    int components = 0;
    int maxH = 1, maxV = 1;
    int h[3] = {1, 1, 1}, v[3] = {1, 1, 1};
    int stride[3] = {};
    int rows[3] = {};
    qsizetype offset[3] = {};
    qsizetype bytes = 0;
    int mcusPerRow = 0, mcuRows = 0;
};

struct Target
{
    JSAMPLE *plane[3];
    int stride[3];
    LumenFrameRows *rows; // told as rows arrive, when the frame is already shown
};

// The planes' layout for the picture whose header `c` read; false for
// what the planar path does not take.
bool planarLayout(const jpeg_decompress_struct &c, Layout &l);

// The steps that can fail inside libjpeg. Each returns false after an
// error (the message is in the decompressor) and leaves it ready for the
// next frame.
bool readJpegHeader(Decompressor &d);
// Starts raw decoding of the picture whose header `d` has read.
bool startRaw(Decompressor &d);
// Decodes the next MCU row into the rows `arrays` point at. After an error
// the decompressor is aborted.
bool readMcuRow(Decompressor &d, JSAMPARRAY (&arrays)[3]);
// Decodes rows [0, rows) of the picture whose header `d` has read straight
// into the planes, then lets go of the rest.
bool decodeRows(Decompressor &d, const Target &t, int rows);

// Row pointers for MCU row `mcuRow` of the planes.
void rowPointers(const jpeg_decompress_struct &c, const Target &t, int mcuRow,
                 JSAMPROW (&pointers)[3][kMaxSampling * DCTSIZE], JSAMPARRAY (&arrays)[3]);

// Where the frame header's height (then width), big endian, is among the
// header's segments before the coded data; -1 if it is not there.
qsizetype frameSizeField(const uchar *data, qsizetype codedStart);

} // namespace LumenJpeg
