// libFuzzer harness over the serial path of the core: the bytes the recorder sends arrive in
// arbitrary chunks; the frame parser takes frames from the receive buffer the way the window
// does, and every frame drives the download sequence, whose requested days are followed.
//
// Input layout (FuzzedDataProvider): the chunk sizes and the download's setup come from the
// end of the input, the received bytes from its front.
#include "core/serial/download.h"
#include "core/serial/frames.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QDate>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// One frame taken from the buffer, handled like the window: errors reset the download,
// frames drive it. Returns false when the buffer must wait for more bytes.
bool takeOne(QByteArray &buffer, serial::Download &download, int &requests)
{
    const int before = buffer.size();
    const serial::ParseStep step = serial::takeFrame(buffer);
    switch (step.kind) {
    case serial::ParseStep::NeedMore:
        check(buffer.size() == before);
        // The receive buffer never holds more than one frame's worth while it waits.
        check(buffer.size() <= serial::kMaxFrameSize);
        return false;
    case serial::ParseStep::LinkError:
        check(buffer.isEmpty());
        download.resetAfterError();
        return false;
    case serial::ParseStep::RecorderError:
        check(buffer.size() == before - serial::kErrorFrameSize);
        download.resetAfterError();
        return true;
    case serial::ParseStep::Frame:
        break;
    }
    check(buffer.size() == before - serial::kHeadSize - step.frame.payload.size());
    const QVector<serial::DownloadAction> actions = download.handleFrame(step.frame);
    for (const serial::DownloadAction &action : actions) {
        switch (action.kind) {
        case serial::DownloadAction::Send:
            check(action.bytes.size() == serial::kRequestSize);
            check(serial::xorOf(action.bytes.constData(), serial::kRequestSize - 1) ==
                  quint8(action.bytes.at(serial::kRequestSize - 1)));
            break;
        case serial::DownloadAction::WriteDay:
            check(action.bytes.size() <= serial::kMaxDayFileSize);
            // Every other day file cannot be written: the sequence must go on all the same.
            if (download.currentDate().day() % 2)
                download.noteUnwritten(download.currentDate());
            break;
        case serial::DownloadAction::RequestDay:
            check(action.day.isValid() && action.day <= download.endDate());
            ++requests;
            check(download.requestDay(action.day).size() == serial::kRequestSize);
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    serial::Download download;
    const QDate first = QDate(2024, 1, 1).addDays(in.ConsumeIntegralInRange<int>(-800000, 800000));
    if (in.ConsumeBool()) {
        download.startRange(first, first.addDays(in.ConsumeIntegralInRange<int>(-2, 40)));
        download.requestDay(first);
    } else {
        download.startRecentHours(first, in.ConsumeIntegralInRange<int>(-1, 30));
    }
    QByteArray buffer;
    int requests = 0;
    while (in.remaining_bytes() > 0) {
        const size_t chunk = in.ConsumeIntegralInRange<size_t>(1, 600);
        const std::string bytes = in.ConsumeBytesAsString(chunk);
        buffer.append(bytes.data(), int(bytes.size()));
        // The window takes every complete frame as soon as the bytes are here.
        while (!buffer.isEmpty() && takeOne(buffer, download, requests)) {
        }
    }
    check(requests <= 43);
    return 0;
}
