#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// Frames of the serial link to the recorder.
//
// Request (program to recorder), always 13 bytes:
//   AA 75 | command | 00 00 | six parameter bytes | 00 | XOR of bytes 0-11
// The parameters name a calendar day (century, year, month, day in packed BCD, then 00 00)
// or the most recent hours (00 00 00 00, hours in binary, 01).
//
// Response (recorder to program): a 14-byte head and the payload.
//   55 7A | status | packID (u16 LE) | six bytes not used | payload_len (u16 LE) | checksum |
//   payload
// The checksum is the XOR of head bytes 0-12 and of every payload byte.
//
// Short error frame (recorder to program): 55 7A FA 00 D5.
namespace serial {

enum Command : quint8
{
    CmdRequest = 0x00, // begin the download of a day or of the recent hours
    CmdPackageAck = 0x01,
    CmdFileWritten = 0x03,
};

enum Status : quint8
{
    StatusFileStart = 0x10,
    StatusPackage = 0x11,
    StatusFileEnd = 0x12,
    StatusDayDone = 0x14,
    StatusDayDoneAlt = 0x15,
};

constexpr int kRequestSize = 13;
constexpr int kHeadSize = 14;
constexpr int kMaxFrameSize = kHeadSize + 0xFFFF;
constexpr int kErrorFrameSize = 5;

// XOR of the bytes.
quint8 xorOf(const char *data, int size);

// The request template of a calendar day: command 0x00, checksum byte left 0.
QByteArray dayRequest(const QDate &day);
// The request template of the most recent hours (1-24): command 0x00, checksum byte left 0.
QByteArray recentHoursRequest(int hours);
// A frame ready to send: the markers, the command and the parameter bytes 5-10 of the
// template, with its checksum.
QByteArray commandFrame(const QByteArray &requestTemplate, quint8 command);

// Upper-case hexadecimal byte pairs separated by single blanks: "AA 75 00".
QString hexText(const QByteArray &bytes);

// The short error frame, 55 7A FA 00 D5.
QByteArray errorFrame();

struct ResponseFrame
{
    quint8 status = 0;
    quint16 packId = 0;
    QByteArray payload;
    quint8 checksum = 0; // as received
    quint8 computed = 0; // XOR of head bytes 0-12 and the payload
    bool checksumOk() const { return checksum == computed; }
};

struct ParseStep
{
    enum Kind
    {
        NeedMore,      // nothing consumed; wait for more bytes
        Frame,         // a whole response frame was taken from the buffer
        RecorderError, // the short error frame was taken from the buffer
        LinkError,     // the buffer can never become a frame; it was emptied
    };
    Kind kind = NeedMore;
    ResponseFrame frame;
};

// Takes at most one frame from the start of the buffer and removes its bytes.
//  - fewer than 5 bytes: wait;
//  - 5 to 13 bytes: the short error frame if its five bytes start the buffer, else wait;
//  - 14 bytes or more: a head that does not start with 55 7A is a link error; otherwise
//    wait for the whole payload, then take the frame (a wrong checksum is reported in
//    the result, the frame is still taken).
// A frame is at most 14 + 65535 bytes, so a buffer longer than that which yields no frame
// is a link error as well: the buffer never grows without bound.
ParseStep takeFrame(QByteArray &buffer);

} // namespace serial
