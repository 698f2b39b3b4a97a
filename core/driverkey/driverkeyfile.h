#pragma once

#include <QByteArray>
#include <QString>

// The driver key file "dt_extData" that a driver carries on a USB stick: the Base64 text
// (standard alphabet, "=" padding, no line breaks) of the compact JSON object
// {"id":<ID>,"mode":0,"name":<name>}, keys in that order, with no trailing newline.
namespace driverkey {

constexpr int kMaxFieldBytes = 18; // name and ID, counted in UTF-8 bytes
inline const char *fileName()
{
    return "dt_extData";
}

// Checks the fields in the order the dialog reports them: name empty, name too long,
// ID empty, ID too long, no directory. Returns the translated message of the first failed
// check (context ZtCreateDriverKeyDialog), or an empty string when all pass. Name and ID
// are taken as typed: blanks count.
QString checkFields(const QString &name, const QString &id, const QString &directory);

// The compact JSON text and the file content built from it.
QByteArray keyJson(const QString &name, const QString &id);
QByteArray keyContent(const QString &name, const QString &id);

// The directory, a "/" unless it already ends in one, and the file name.
QString keyFilePath(const QString &directory);

struct WriteResult
{
    bool ok = false;
    QString path;
    QString error; // the system's reason when the file could not be written
};

// Writes the key file into the directory, replacing an existing one. The content goes to a
// temporary file that is renamed over the target only once it is complete, so a failed
// write leaves any earlier key untouched and never a truncated one behind.
WriteResult writeKeyFile(const QString &directory, const QString &name, const QString &id);

} // namespace driverkey
