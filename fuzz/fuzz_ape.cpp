#include "tags/apetag.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

// Reads an APE tag from arbitrary bytes; every item must lie inside the tag.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tags::TAPEtag tag;
    const tags::Status status = tag.read(buffer);
    if (tag.exists()) {
        if (!status || tag.offset() < 0 || tag.offset() + tag.length() > qint64(size))
            __builtin_trap();
        for (const tags::APEItem& item : tag.items())
            item.values();
    }
    buffer.seek(0);
    if (tags::TAPEtag::find(buffer) != tag.size())
        __builtin_trap();
    return 0;
}
