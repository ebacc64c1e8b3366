#pragma once
// Splits a frame without restart markers between the calling thread and a
// worker. Nothing in such a frame says where its coded data can be cut, so
// the worker finds a place (LumenMcuFinder): an MCU boundary near the
// middle, where it starts decoding with the DC predictions at 0, keeping
// the blocks (LumenBlockCatcher). The calling thread decodes from the top,
// keeping the blocks of the rows around that place, and proves where the
// worker's blocks belong: the worker's first MCUs must match exactly one
// MCU there, AC values equal and DC values off by the predictions before
// it, and the worker's MCUs must then reach exactly the end of the picture.
// Both then transform the worker's blocks, DC corrected, with libjpeg's own
// IDCT. Until that is proven, and when it cannot be (a plain or repeating
// picture, damaged data), the calling thread decodes on alone. The planes
// are the same, byte for byte, as a whole-frame decode gives.
#include "LumenBlockCatcher.h"
#include "LumenJpegRows.h"
#include "LumenMcuFinder.h"

#include <atomic>
#include <limits>
#include <mutex>
#include <vector>

class LumenWorkerThread;

class LumenUnmarkedSplit
{
public:
    // Whether the frame whose header `c` read can be split this way.
    static bool suits(const jpeg_decompress_struct &c, const LumenJpeg::Layout &layout);

    // Decodes the frame `data` (its coded data from `codedStart`) whose
    // header `upper` has read into `target`, with the worker and its
    // `helper` when the split is proven. Returns once all is done; false
    // after an error (the message is in `upper`).
    bool decode(const uchar *data, qsizetype size, qsizetype codedStart,
                LumenJpeg::Decompressor &upper, LumenJpeg::Decompressor &helper,
                LumenWorkerThread &worker, const LumenJpeg::Layout &layout,
                const LumenJpeg::Target &target);
    // Whether the last frame was decoded on both threads.
    bool split() const { return m_split; }

private:
    // What the two threads tell each other about a split frame without
    // restart markers.
    struct Unmarked
    {
        enum { Pending, Accepted, Rejected };
        enum { Decoding, Done, Failed };
        static constexpr qsizetype kNotYet = -2;
        static constexpr long kNobody = std::numeric_limits<long>::max();

        // Caller to helper: how far its reading has got.
        std::atomic<qsizetype> callerAt{0};
        // Helper to caller: where it looks for its start, once it runs.
        std::atomic<qsizetype> searchFrom{kNotYet};
        long total = 0; // MCUs in the picture
        // Helper to caller: the byte it decodes from (-1: none found), its
        // blocks kept, its state; `news` changes with each of them.
        std::atomic<qsizetype> start{kNotYet};
        std::atomic<long> kept{0};
        std::atomic<int> helper{Decoding};
        std::atomic<int> news{0};
        // The kept blocks the caller waits for: fewer are not news.
        std::atomic<long> wanted{kNobody};
        long dataEnd = -1; // the helper's MCUs before its data ran out; set before Done
        // Caller to helper.
        std::atomic<int> verdict{Pending};
        long first = 0; // the picture's MCU that is the helper's first
        int dc[MAX_COMPS_IN_SCAN] = {};
        std::atomic<bool> callerDone{false};
        // MCU rows left to transform from the helper's blocks: the caller
        // takes them from the top, the helper from the bottom.
        std::mutex rows;
        int top = 0, bottom = -1;
        int firstRow = 0; // the first of them

        void reset()
        {
            start = kNotYet;
            callerAt = 0;
            searchFrom = kNotYet;
            kept = 0;
            wanted = kNobody;
            helper = Decoding;
            dataEnd = -1;
            verdict = Pending;
            first = 0;
            callerDone = false;
            top = 0;
            bottom = -1;
            firstRow = 0;
        }
        // Helper, after keeping more blocks.
        void keep(long count)
        {
            kept = count;
            if (count >= wanted)
                tell();
        }
        void tell()
        {
            news.fetch_add(1);
            news.notify_all();
        }
        // The helper's blocks reach the whole picture: its count of MCUs
        // agrees with where the caller placed its first.
        bool helperComplete() const { return dataEnd >= 0 && dataEnd == total - first; }
    };

    enum class Check { Match, NoMatch, More };
    enum class Match { No, Yes, Unknown };

    // Worker.
    void decodeLowerPart();
    // Calling thread.
    Check place(int row, qsizetype start, int keptFrom);
    Match matchesAt(long k, long base, int dc[]) const;
    bool transformFromTop();
    template <typename Done> void waitForHelper(Done done);
    // Either.
    void transformRow(int row);

    // The frame.
    const uchar *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_codedStart = 0;
    LumenJpeg::Decompressor *m_upper = nullptr;
    LumenJpeg::Decompressor *m_helper = nullptr;
    LumenWorkerThread *m_worker = nullptr;
    LumenJpeg::Layout m_layout;
    LumenJpeg::Target m_target{};
    bool m_split = false;

    Unmarked m_unmarked;
    // Kept between frames: no allocation once sized.
    LumenMcuFinder m_finder;
    LumenBlockCatcher m_callerBlocks, m_helperBlocks;
    std::vector<qsizetype> m_rowEnd; // where the caller's reading stood after each MCU row
};
