#pragma once
// Splits a frame with restart markers between the calling thread and a
// worker: the coded data after a restart marker that starts a row of MCUs
// can be decoded on its own, as a picture of the rest of the frame's
// height. The planes are the same, byte for byte, as a whole-frame decode
// gives.
#include "LumenJpegRows.h"

#include <mutex>
#include <vector>

class LumenWorkerThread;

class LumenRestartSplit
{
public:
    // Plans the pieces of the frame `data` whose header `c` has read (its
    // coded data from `codedStart`); false when it has no restart marker
    // to cut at.
    bool plan(const uchar *data, qsizetype size, qsizetype codedStart,
              const jpeg_decompress_struct &c, const LumenJpeg::Layout &layout);
    // Decodes the planned frame into `target`: the first piece with `upper`
    // (whose header is read), the rest taken in turn with the worker and
    // its `helper`. Returns once all are done; false after an error.
    bool decode(LumenJpeg::Decompressor &upper, LumenJpeg::Decompressor &helper,
                LumenWorkerThread &worker, const LumenJpeg::Target &target);

private:
    static constexpr int kPieces = 4;
    struct Plan
    {
        qsizetype heightField = -1; // the frame header's height, big endian
        qsizetype codedStart = 0;
        int count = 0;
        // Piece i: rows [row[i], row[i + 1]), coded data from start[i], its
        // restart markers counting on from offset[i].
        int row[kPieces + 1] = {};
        qsizetype start[kPieces] = {};
        int offset[kPieces] = {};
        JOCTET height[kPieces][2] = {};
    };

    struct Boundary
    {
        qsizetype start; // coded data after the marker
        long markers;    // restart markers above
        int row;         // MCU row it starts
    };

    // Takes piece `i` and decodes it with `d`.
    bool decodePiece(LumenJpeg::Decompressor &d, int i, LumenJpeg::Target target);
    // Takes the next piece nobody has taken; false when none is left.
    bool take(int &i);
    void helperPieces(LumenJpeg::Decompressor &helper);

    std::vector<Boundary> m_boundaries; // kept: no allocation per frame
    Plan m_plan;
    const uchar *m_data = nullptr;
    qsizetype m_size = 0;
    LumenJpeg::Layout m_layout;
    LumenJpeg::Target m_target{};
    std::mutex m_mutex;
    int m_next = 0;
    bool m_failed = false;
};
