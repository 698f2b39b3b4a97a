#pragma once

// Builds ustar archives byte by byte, so that tests can make entries a careful archiving
// tool would refuse to write (absolute names, "..", links leading out), and sparse files
// that list as far larger than the archive.
#include <QByteArray>
#include <QVector>

namespace tartest {

struct Entry
{
    QByteArray name;
    QByteArray data;
    char type = '0'; // '0' file, '1' hard link, '2' symbolic link, '5' directory, 'S' sparse
    QByteArray link; // target of a link
    qint64 realSize = 0; // of a sparse file: its data is the last 512 bytes, the rest a hole
};

inline Entry file(const QByteArray &name, const QByteArray &data)
{
    return Entry{name, data, '0', {}};
}

inline Entry link(const QByteArray &name, const QByteArray &target, char type = '2')
{
    return Entry{name, {}, type, target};
}

// A sparse file (old GNU form) that lists as size bytes but takes 2 KiB in the archive.
inline Entry sparse(const QByteArray &name, qint64 size)
{
    return Entry{name, QByteArray(512, 'x'), 'S', {}, size};
}

inline void putField(QByteArray &header, int offset, int width, const QByteArray &value)
{
    for (int i = 0; i < width && i < value.size(); ++i)
        header[offset + i] = value.at(i);
}

inline QByteArray octal(qint64 value, int width)
{
    return QByteArray::number(value, 8).rightJustified(width - 1, '0');
}

inline QByteArray archive(const QVector<Entry> &entries)
{
    QByteArray out;
    for (const Entry &entry : entries) {
        QByteArray header(512, '\0');
        putField(header, 0, 100, entry.name);
        putField(header, 100, 8, octal(entry.type == '5' ? 0755 : 0644, 8));
        putField(header, 108, 8, octal(0, 8));
        putField(header, 116, 8, octal(0, 8));
        const qint64 size = entry.type == '0' || entry.type == 'S' ? entry.data.size() : 0;
        putField(header, 124, 12, octal(size, 12));
        putField(header, 136, 12, octal(1700000000, 12));
        putField(header, 148, 8, QByteArray(8, ' '));
        header[156] = entry.type;
        putField(header, 157, 100, entry.link);
        if (entry.type == 'S') {
            putField(header, 257, 8, QByteArray("ustar  ", 8));
            putField(header, 386, 12, octal(entry.realSize - size, 12)); // offset of the data
            putField(header, 398, 12, octal(size, 12));
            putField(header, 483, 12, octal(entry.realSize, 12));
        } else {
            putField(header, 257, 6, QByteArray("ustar", 6));
            putField(header, 263, 2, "00");
        }
        unsigned sum = 0;
        for (char c : qAsConst(header))
            sum += uchar(c);
        putField(header, 148, 8, octal(sum, 7) + QByteArray(1, '\0'));
        out += header;
        if (size > 0) {
            out += entry.data;
            out += QByteArray(int((512 - size % 512) % 512), '\0');
        }
    }
    out += QByteArray(1024, '\0');
    return out;
}

} // namespace tartest
