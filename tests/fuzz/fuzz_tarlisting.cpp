// libFuzzer harness over the reading of the archiver's technical listing of a tar archive,
// the outside input that decides whether an archive may be unpacked at all. Whatever the
// bytes, the reading counts each refused entry once, keeps the size sum in range, and the
// verdict lets nothing through that the reading found wrong.
//
// Input layout: the whole input is the listing as the archiver wrote it.
#include "core/import/dayimport.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using dayimport::Refusal;
    const QByteArray listing(reinterpret_cast<const char *>(data), int(size));
    const dayimport::ArchiveListing read = dayimport::readArchiveListing(listing);
    check(read.entryCount >= 0 && read.entryCount <= listing.count("Path = "));
    check(read.unsafeEntries.size() <= read.entryCount);
    check(read.oversizedDayFiles.size() <= read.entryCount);
    check(read.totalSize >= 0);
    // An oversized day file alone takes the sum beyond the day bound.
    check(read.oversizedDayFiles.isEmpty() || read.totalSize > dayimport::kMaxDayFileSize);
    for (const QString &path : read.oversizedDayFiles)
        check(path.endsWith(QLatin1String(".vdr"), Qt::CaseInsensitive));

    const bool clean = read.unsafeEntries.isEmpty() && read.oversizedDayFiles.isEmpty();
    const Refusal anyDisk = dayimport::refusalOf(read, -1);
    check((anyDisk == Refusal::None) == (clean && read.totalSize <= dayimport::kMaxArchiveSize));
    check(!read.unsafeEntries.isEmpty() == (anyDisk == Refusal::UnsafeEntries));
    // A full disk takes nothing but an archive that unpacks to nothing.
    const Refusal fullDisk = dayimport::refusalOf(read, 0);
    check((fullDisk == Refusal::None) == (clean && read.totalSize == 0));
    return 0;
}
