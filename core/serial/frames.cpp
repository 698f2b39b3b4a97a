#include "core/serial/frames.h"

namespace serial {

namespace {

// Packed BCD of the last two decimal digits; a negative value (a year before year 0 has no
// request encoding) gives 00.
quint8 bcd(int value)
{
    if (value < 0)
        return 0;
    return quint8(((value / 10) % 10) << 4 | (value % 10));
}

QByteArray requestTemplate()
{
    QByteArray frame(kRequestSize, '\0');
    frame[0] = char(0xAA);
    frame[1] = char(0x75);
    frame[2] = char(CmdRequest);
    return frame;
}

quint16 le16(const QByteArray &bytes, int offset)
{
    return quint16(quint8(bytes[offset]) | quint8(bytes[offset + 1]) << 8);
}

} // namespace

quint8 xorOf(const char *data, int size)
{
    quint8 sum = 0;
    for (int i = 0; i < size; ++i)
        sum ^= quint8(data[i]);
    return sum;
}

QByteArray dayRequest(const QDate &day)
{
    QByteArray frame = requestTemplate();
    frame[5] = char(bcd(day.year() / 100));
    frame[6] = char(bcd(day.year() % 100));
    frame[7] = char(bcd(day.month()));
    frame[8] = char(bcd(day.day()));
    return frame;
}

QByteArray recentHoursRequest(int hours)
{
    QByteArray frame = requestTemplate();
    frame[9] = char(quint8(hours));
    frame[10] = char(1);
    return frame;
}

QByteArray commandFrame(const QByteArray &requestTemplate, quint8 command)
{
    QByteArray frame(kRequestSize, '\0');
    frame[0] = char(0xAA);
    frame[1] = char(0x75);
    frame[2] = char(command);
    for (int i = 5; i <= 10 && i < requestTemplate.size(); ++i)
        frame[i] = requestTemplate[i];
    frame[12] = char(xorOf(frame.constData(), 12));
    return frame;
}

QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray errorFrame()
{
    return QByteArray("\x55\x7A\xFA\x00\xD5", kErrorFrameSize);
}

ParseStep takeFrame(QByteArray &buffer)
{
    ParseStep step;
    const int n = buffer.size();
    if (n < kErrorFrameSize)
        return step;
    if (n < kHeadSize) {
        if (buffer.startsWith(errorFrame())) {
            buffer.remove(0, kErrorFrameSize);
            step.kind = ParseStep::RecorderError;
        }
        return step;
    }
    if (quint8(buffer[0]) != 0x55 || quint8(buffer[1]) != 0x7A) {
        buffer.clear();
        step.kind = ParseStep::LinkError;
        return step;
    }
    const int payloadLen = le16(buffer, 11);
    const int frameSize = kHeadSize + payloadLen;
    if (n < frameSize)
        return step; // also covers every buffer shorter than kMaxFrameSize
    ResponseFrame &f = step.frame;
    f.status = quint8(buffer[2]);
    f.packId = le16(buffer, 3);
    f.checksum = quint8(buffer[13]);
    f.payload = buffer.mid(kHeadSize, payloadLen);
    f.computed = xorOf(buffer.constData(), 13) ^ xorOf(f.payload.constData(), payloadLen);
    buffer.remove(0, frameSize);
    step.kind = ParseStep::Frame;
    return step;
}

} // namespace serial
