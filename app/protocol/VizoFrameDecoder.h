#pragma once
// Human-readable lines for frames, as vizo-proto and the virtual device's
// trace print them:
//   CameraZoom 0 crc=ok
//   OptionFileData 2/3 "Zoom=3\n..." crc=ok
//   unknown 27 05 crc=bad
// The name, "i/N" for a frame of a multi-frame transfer, the parameters in
// payload order (texts quoted), then the CRC verdict. Damaged framing is
// named before the verdict (magic=bad, trailer=bad, word=XXXX).
#include "protocol/VizoCatalogue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One line for one whole frame.
QString vizoDescribeFrame(VizoDirection direction, const QByteArray &frame);

// Text in double quotes with C-style escapes for quotes, backslashes and
// control characters.
QString vizoQuoted(const QString &text);

// What a stream held besides sound frames, for callers that must tell a
// clean capture from a damaged one.
struct VizoStreamTally
{
    int frames = 0;          // frames described, sound or not
    int badChecksums = 0;    // frames whose CRC does not match
    int badFraming = 0;      // frames whose fixed word is wrong
    int truncatedFrames = 0; // the stream ended inside a frame
    qsizetype skippedBytes = 0;

    bool clean() const { return !badChecksums && !badFraming && !truncatedFrames && !skippedBytes; }
};

// Cuts a raw byte stream into frames and describes each. Bytes that do not
// start a frame are skipped and reported as "skipped N bytes"; a frame is
// taken when its trailer sits where its length field says, otherwise the
// search for the next magic goes on one byte later.
class VizoStreamDecoder
{
public:
    explicit VizoStreamDecoder(VizoDirection direction) : m_direction(direction) {}

    // Lines for every frame completed by these bytes.
    QStringList feed(const QByteArray &bytes);
    // Lines for what is left at the end of the stream.
    QStringList finish();
    // Counts over everything fed so far.
    const VizoStreamTally &tally() const { return m_tally; }

private:
    void drain(QStringList &lines, bool atEnd);
    void skip(qsizetype count);
    void count(const QByteArray &frame);
    void flushSkipped(QStringList &lines);

    VizoDirection m_direction;
    QByteArray m_buffer;
    qsizetype m_skipped = 0;
    VizoStreamTally m_tally;
};
