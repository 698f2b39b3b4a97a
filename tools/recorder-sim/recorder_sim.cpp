// tavrin-recorder-sim: plays a data recorder at the far end of a serial link.
//
// It opens a pseudo-terminal, prints the path of its device (the slave side, which the
// viewer opens as its serial port) on the first line of standard output, and answers the
// viewer's 13-byte requests from a folder of day files:
//
//   request AA 75 cmd 00 00 p0..p5 00 xor      cmd 00 = fetch, 01 = package received,
//                                               03 = file written
//   answer  55 7A status id(LE16) six bytes len(LE16) xor payload
//           0x10 start of file, 0x11 data package (waits for cmd 01), 0x12 end of file
//           (numbered one below the last package, waits for cmd 03), then 0x15 day
//           finished; a day without a file is answered at once with 0x14.
//
// Usage: tavrin-recorder-sim --dir DIR [--package N] [--split N] [--pause-us N]
//        [--coalesce] [--bad-checksum K] [--error-frame] [--garbage] [--blast] [--verbose]
//   --package N      payload bytes per data package (default 1024)
//   --split N        write every frame in pieces of at most N bytes
//   --pause-us N     pause between pieces (default 300)
//   --coalesce       start frame and first package in one write; end frame and
//                    day-finished frame in one write (without waiting for cmd 03)
//   --bad-checksum K corrupt the checksum of every K-th frame sent
//   --error-frame    answer the first fetch with the short error frame 55 7A FA 00 D5
//   --garbage        answer the first fetch with bytes that are no frame
//   --blast          no protocol: at the first received byte, write every file of DIR (in
//                    name order) back to back, as fast as the link takes them
// The simulator ends on SIGTERM, or when its standard input is a pipe that is closed.
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

struct Options
{
    std::string dir;
    size_t package = 1024;
    size_t split = 0;
    unsigned pauseUs = 300;
    bool coalesce = false;
    unsigned badChecksumEvery = 0;
    bool errorFrame = false;
    bool garbage = false;
    bool blast = false;
    bool verbose = false;
};

Options opt;
int masterFd = -1;
unsigned framesSent = 0;

void log(const char *fmt, const std::string &arg = std::string(), long n = 0)
{
    if (!opt.verbose)
        return;
    std::fprintf(stderr, "recorder-sim: ");
    std::fprintf(stderr, fmt, arg.c_str(), n);
    std::fprintf(stderr, "\n");
}

void writeAll(const uint8_t *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(masterFd, data, size);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                pollfd p{masterFd, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            std::perror("recorder-sim: write");
            std::exit(1);
        }
        data += n;
        size -= size_t(n);
    }
}

// One write, or pieces of at most opt.split bytes with a pause between them.
void sendBytes(const Bytes &bytes)
{
    if (opt.split == 0) {
        writeAll(bytes.data(), bytes.size());
        return;
    }
    for (size_t at = 0; at < bytes.size(); at += opt.split) {
        writeAll(bytes.data() + at, std::min(opt.split, bytes.size() - at));
        if (opt.pauseUs)
            std::this_thread::sleep_for(std::chrono::microseconds(opt.pauseUs));
    }
}

// A response frame: head of 14 bytes and the payload.
Bytes frame(uint8_t status, uint16_t id, const uint8_t params[6], const uint8_t *payload, size_t len)
{
    Bytes f;
    f.reserve(14 + len);
    f.push_back(0x55);
    f.push_back(0x7A);
    f.push_back(status);
    f.push_back(uint8_t(id & 0xFF));
    f.push_back(uint8_t(id >> 8));
    for (int i = 0; i < 6; ++i)
        f.push_back(params[i]);
    f.push_back(uint8_t(len & 0xFF));
    f.push_back(uint8_t(len >> 8));
    uint8_t x = 0;
    for (uint8_t b : f)
        x ^= b;
    for (size_t i = 0; i < len; ++i)
        x ^= payload[i];
    ++framesSent;
    if (opt.badChecksumEvery && framesSent % opt.badChecksumEvery == 0)
        x ^= 0x5A;
    f.push_back(x);
    f.insert(f.end(), payload, payload + len);
    return f;
}

int fromBcd(uint8_t b)
{
    return (b >> 4) * 10 + (b & 0x0F);
}

Bytes readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The day file of yyyymmdd in the folder: the first name (in name order) that starts with
// "D" and the eight digits.
Bytes dayFile(const std::string &yyyymmdd)
{
    std::vector<fs::path> names;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(opt.dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.rfind("D" + yyyymmdd, 0) == 0)
            names.push_back(entry.path());
    }
    std::sort(names.begin(), names.end());
    return names.empty() ? Bytes() : readFile(names.front());
}

std::string todayDigits()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

// The recorder's side of one day's transfer.
struct Transfer
{
    enum State
    {
        Idle,
        AwaitPackageAck,
        AwaitFileWritten
    } state = Idle;
    Bytes data;
    uint8_t params[6] = {};
    size_t packages = 0; // number of data packages
    size_t sent = 0;     // packages sent so far
    bool errorPending = opt.errorFrame;
    bool garbagePending = opt.garbage;

    Bytes package(size_t number) const // number from 1
    {
        const size_t at = (number - 1) * opt.package;
        const size_t len = std::min(opt.package, data.size() - at);
        return frame(0x11, uint16_t(number), params, data.data() + at, len);
    }

    void fetch(const uint8_t *request)
    {
        std::memcpy(params, request + 5, 6);
        state = Idle;
        if (errorPending) {
            errorPending = false;
            log("fetch answered with the error frame");
            sendBytes(Bytes{0x55, 0x7A, 0xFA, 0x00, 0xD5});
            return;
        }
        if (garbagePending) {
            garbagePending = false;
            log("fetch answered with garbage");
            Bytes junk;
            for (int i = 0; i < 20; ++i)
                junk.push_back(uint8_t(0x13 + 7 * i));
            sendBytes(junk);
            return;
        }
        std::string digits;
        if (request[10] == 1 && !request[5] && !request[6] && !request[7] && !request[8]) {
            digits = todayDigits();
            log("fetch of the last %s hours", std::string(), request[9]);
        } else {
            char text[48];
            std::snprintf(text, sizeof text, "%02d%02d%02d%02d", fromBcd(request[5]), fromBcd(request[6]),
                          fromBcd(request[7]), fromBcd(request[8]));
            digits = text;
        }
        data = dayFile(digits);
        if (data.empty()) {
            log("day %s: no data", digits);
            sendBytes(frame(0x14, 0, params, nullptr, 0));
            return;
        }
        packages = (data.size() + opt.package - 1) / opt.package;
        log("day %s: %ld bytes", digits, long(data.size()));
        sent = 1;
        Bytes out = frame(0x10, 0, params, nullptr, 0);
        const Bytes first = package(1);
        if (opt.coalesce) {
            out.insert(out.end(), first.begin(), first.end());
            sendBytes(out);
        } else {
            sendBytes(out);
            sendBytes(first);
        }
        state = AwaitPackageAck;
    }

    void packageAck()
    {
        if (state != AwaitPackageAck)
            return;
        if (sent < packages) {
            ++sent;
            sendBytes(package(sent));
            return;
        }
        Bytes out = frame(0x12, uint16_t(packages - 1), params, nullptr, 0);
        if (opt.coalesce) {
            const Bytes done = frame(0x15, 0, params, nullptr, 0);
            out.insert(out.end(), done.begin(), done.end());
            state = Idle;
        } else {
            state = AwaitFileWritten;
        }
        sendBytes(out);
    }

    void fileWritten()
    {
        if (state != AwaitFileWritten)
            return;
        state = Idle;
        sendBytes(frame(0x15, 0, params, nullptr, 0));
    }
};

void blastFolder()
{
    std::vector<fs::path> names;
    for (const auto &entry : fs::directory_iterator(opt.dir))
        if (entry.is_regular_file())
            names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    for (const fs::path &name : names) {
        const Bytes data = readFile(name);
        for (size_t at = 0; at < data.size(); at += 65536)
            writeAll(data.data() + at, std::min<size_t>(65536, data.size() - at));
    }
    log("blast done");
}

bool parseArgs(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char * { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--dir")
            opt.dir = next();
        else if (a == "--package")
            opt.package = std::max<long>(1, std::min<long>(65535, std::atol(next())));
        else if (a == "--split")
            opt.split = size_t(std::atol(next()));
        else if (a == "--pause-us")
            opt.pauseUs = unsigned(std::atol(next()));
        else if (a == "--coalesce")
            opt.coalesce = true;
        else if (a == "--bad-checksum")
            opt.badChecksumEvery = unsigned(std::atol(next()));
        else if (a == "--error-frame")
            opt.errorFrame = true;
        else if (a == "--garbage")
            opt.garbage = true;
        else if (a == "--blast")
            opt.blast = true;
        else if (a == "--verbose")
            opt.verbose = true;
        else
            return false;
    }
    return !opt.dir.empty();
}

} // namespace

int main(int argc, char **argv)
{
    if (!parseArgs(argc, argv)) {
        std::fprintf(stderr,
                     "usage: %s --dir DIR [--package N] [--split N] [--pause-us N] "
                     "[--coalesce] [--bad-checksum K] [--error-frame] [--garbage] "
                     "[--blast] [--verbose]\n",
                     argv[0]);
        return 2;
    }
    int slaveFd = -1;
    char slaveName[256] = {};
    if (openpty(&masterFd, &slaveFd, slaveName, nullptr, nullptr) != 0) {
        std::perror("recorder-sim: openpty");
        return 1;
    }
    // Raw before the viewer opens it; the slave stays open here so that the master never
    // reads a hang-up while the viewer connects and disconnects.
    termios tio{};
    tcgetattr(slaveFd, &tio);
    cfmakeraw(&tio);
    tcsetattr(slaveFd, TCSANOW, &tio);
    std::printf("%s\n", slaveName);
    std::fflush(stdout);

    struct stat in
    {
    };
    const bool watchStdin = fstat(STDIN_FILENO, &in) == 0 && S_ISFIFO(in.st_mode);

    Transfer transfer;
    Bytes rx;
    bool blasted = false;
    uint8_t chunk[4096];
    for (;;) {
        pollfd fds[2] = {{masterFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(fds, watchStdin ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (watchStdin && fds[1].revents) {
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n <= 0)
                return 0;
        }
        if (!(fds[0].revents & POLLIN))
            continue;
        const ssize_t n = ::read(masterFd, chunk, sizeof chunk);
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EIO))
                continue;
            return 0;
        }
        if (opt.blast) {
            if (!blasted)
                blastFolder();
            blasted = true;
            continue;
        }
        rx.insert(rx.end(), chunk, chunk + n);
        // Requests: find the markers, take 13 bytes, check the XOR of bytes 0-11.
        for (;;) {
            size_t start = 0;
            while (start + 1 < rx.size() && !(rx[start] == 0xAA && rx[start + 1] == 0x75))
                ++start;
            rx.erase(rx.begin(), rx.begin() + long(start));
            if (rx.size() < 13)
                break;
            uint8_t x = 0;
            for (int i = 0; i < 12; ++i)
                x ^= rx[size_t(i)];
            const Bytes request(rx.begin(), rx.begin() + 13);
            rx.erase(rx.begin(), rx.begin() + 13);
            if (x != request[12]) {
                log("request with a wrong checksum dropped");
                continue;
            }
            switch (request[2]) {
            case 0x00:
                transfer.fetch(request.data());
                break;
            case 0x01:
                transfer.packageAck();
                break;
            case 0x03:
                transfer.fileWritten();
                break;
            default:
                log("unknown command %s%ld", std::string(), request[2]);
            }
        }
    }
}
